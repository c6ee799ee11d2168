// The page a player comes back to, in Debian's headless chromium: offline
// after one visit and installable, a new version taken only on the reload it
// offers, remembered options and presets, the game folder, the worker pool,
// and axe-core's accessibility rules. Needs the site (scripts/web.sh
// --build-only) and the native program ($VELMORA, default
// build/ci/cli/velmora).
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import {
  root, site, scratch, serveSite, launchBrowser, launchProfile, openPageAt, runNative, downloads, generateIn, assertSeedFiles,
} from './driver.mjs';

let server;
let browser;

before(async () => {
  server = await serveSite(site);
  browser = await launchBrowser();
});

after(async () => {
  await browser?.close();
  server?.close();
  fs.rmSync(scratch, { recursive: true, force: true });
});

const openPage = (hash, viewport) => openPageAt(browser, server.base, hash, viewport);

// Waits until the service worker controls the page and has cached the site.
async function waitForOffline(page) {
  await page.evaluate(() => navigator.serviceWorker.ready);
  await page.waitForFunction(() => navigator.serviceWorker.controller?.state === 'activated');
}

test('after one visit the page works offline, is installable, and takes a new version only on its reload', async () => {
  // A copy of the site, so that a second build can replace one of its files.
  const copy = path.join(scratch, 'site');
  fs.cpSync(site, copy, { recursive: true });
  const host = await serveSite(copy);
  const context = await launchProfile(path.join(scratch, 'profile'));
  const page = await context.newPage();
  const errors = [];
  page.on('pageerror', (e) => errors.push(e.message));
  await page.goto(host.base);
  await page.waitForSelector('body[data-ready=true]');
  assert.match(await page.textContent('#version'), /^Version \d+\.\d+, commit ([0-9a-f]{12}|unknown) \(/);
  assert.equal(await page.getAttribute('link[rel=manifest]', 'href'), 'manifest.webmanifest');
  await waitForOffline(page);
  const cdp = await context.newCDPSession(page);
  assert.deepEqual((await cdp.send('Page.getInstallabilityErrors')).installabilityErrors, []);

  host.online = false;
  await page.reload();
  await page.waitForSelector('body[data-ready=true]');
  for (const [index, args] of [['--seed', '21'], ['--character', 'chris', '--locks', '--seed', '3']].entries()) {
    const native = runNative(args, `offline${index}`);
    await generateIn(page, native.settings);
    assert.equal(await page.textContent('#log'), native.log);
    await assertSeedFiles(page, native, `offline ${args.join(' ')}`);
  }
  await page.setInputFiles('#verify-file', path.join(scratch, 'offline1/ItemListChrisNormal.txt'));
  await page.waitForFunction(() => document.getElementById('verify-result').dataset.status === '0');
  assert.match(await page.textContent('#open-summary'), /item locations/);

  // A second build with one file changed: the page goes on with the first
  // until the player takes the new one, and never while generating.
  host.online = true;
  fs.appendFileSync(path.join(copy, 'style.css'), '/* second build */\n');
  const precache = spawnSync('node', [path.join(root, 'web/precache.mjs'), copy], { encoding: 'utf8' });
  assert.equal(precache.status, 0, precache.stderr);
  const style = () => page.evaluate(async () => (await fetch('style.css')).text());
  await page.evaluate(async () => (await navigator.serviceWorker.getRegistration()).update());
  await page.waitForSelector('#update:not([hidden])');
  assert.equal(await page.textContent('#update'), 'A new version is ready: reload');
  assert.doesNotMatch(await style(), /second build/);
  await page.fill('#settings-input', runNative(['--character', 'chris', '--difficulty', 'hard', '--locks', '--seed', '1'], 'update').settings);
  await page.click('#load-settings');
  await page.click('#generate');
  assert.ok(await page.isDisabled('#reload'), 'no new version under a running generation');
  await page.click('#cancel');
  // Cancel starts fresh workers; their start-up requests to the old version
  // end before it may be replaced.
  await page.waitForFunction(() => generation.pool.warm);
  await Promise.all([page.waitForEvent('load'), page.click('#reload')]);
  await page.waitForSelector('body[data-ready=true]');
  assert.match(await style(), /second build/);
  assert.deepEqual(errors, []);
  await context.close();
  host.close();
});

test('the options of the last generation come back, a link wins over them, and Defaults resets them', async () => {
  const { page, context } = await openPage();
  await page.click('#opt-1001');
  await page.click('#opt-1005');
  await page.click('#opt-1010');
  await page.fill('#seed', '5');
  await page.click('#generate');
  await page.waitForSelector('#facts:not([hidden])');
  await page.goto(server.base);
  await page.waitForSelector('body[data-ready=true]');
  assert.ok(await page.isChecked('#opt-1001') && await page.isChecked('#opt-1005'), 'Chris and Enemies remembered');
  assert.ok(!(await page.isChecked('#opt-1010')), 'no Hunters remembered');
  assert.equal(await page.inputValue('#seed'), '', 'the seed is not remembered');

  const link = runNative(['--difficulty', 'hard', '--seed', '8'], 'link');
  await page.goto(server.base + '#' + link.settings);
  await page.reload();
  await page.waitForSelector('body[data-ready=true]');
  assert.equal(await page.textContent('#settings'), link.settings);
  await page.click('#defaults');
  assert.ok(await page.isChecked('#opt-1000') && await page.isChecked('#opt-1002') && !(await page.isChecked('#opt-1005')));
  assert.equal(await page.inputValue('#seed'), '');
  await context.close();
});

test('presets: built in, saved, renamed, deleted, exported and imported, through a reload', async () => {
  const { page, context, errors } = await openPage();
  const choose = (label) => page.selectOption('#presets', { label });
  const names = () => page.$$eval('#presets optgroup[label="My presets"] option', (o) => o.map((x) => x.textContent));
  const message = () => page.textContent('#presets-message');

  // A built-in preset goes through the dialog's clicks: Doors forces Normal.
  await page.fill('#seed', '0');
  await choose('Chris Hard with Locks');
  assert.equal(await page.textContent('#settings'),
    runNative(['--character', 'chris', '--difficulty', 'hard', '--locks', '--seed', '0'], 'preset').settings);
  assert.ok(await page.isChecked('#opt-1001') && await page.isChecked('#opt-1003') && await page.isChecked('#opt-1007'));
  await choose('Doors and enemies');
  assert.ok(await page.isChecked('#opt-1006') && await page.isChecked('#opt-1002') && await page.isDisabled('#opt-1003'));
  assert.ok(await page.isEnabled('#opt-1008'), 'the enemy panel is enabled');

  await page.click('#my-presets summary');
  await page.fill('#preset-name', 'Doors run');
  await page.click('#save-preset');
  await choose('Chris Hard with Locks');
  await page.click('#opt-1035');
  await page.fill('#preset-name', 'Capsule');
  await page.click('#save-preset');
  await page.fill('#preset-name', 'Capsule');
  await page.click('#save-preset');
  assert.match(await message(), /the name "Capsule" is taken/);
  await choose('Doors run');
  await page.fill('#preset-name', 'Door race');
  await page.click('#rename-preset');
  await choose('Capsule');
  await page.click('#delete-preset');
  assert.deepEqual(await names(), ['Door race']);

  const [download] = await Promise.all([page.waitForEvent('download'), page.click('#export-presets')]);
  assert.equal(download.suggestedFilename(), 'VelmoraPresets.json');
  const exported = JSON.parse(fs.readFileSync(await download.path(), 'utf8'));
  assert.deepEqual(exported.presets.map((p) => [p.name, p.options.doors, p.options.enemies, p.options.difficulty]),
    [['Door race', true, true, 'normal']]);

  const importFile = (name, text) => page.setInputFiles('#import-presets', { name, mimeType: 'application/json', buffer: Buffer.from(text) });
  const refused = {
    'not JSON': ['{"presets": [', /is not JSON/],
    'an unknown option': [JSON.stringify({ presets: [{ name: 'X', options: { turbo: true } }] }), /"turbo" is not an option/],
    'a bad value': [JSON.stringify({ presets: [{ name: 'X', options: { character: 'barry' } }] }), /"character" must be one of jill, chris/],
    'too large': [JSON.stringify({ presets: [], padding: 'x'.repeat(70000) }), /larger than 64 KiB/],
  };
  for (const [what, [text, why]] of Object.entries(refused)) {
    await importFile('bad.json', text);
    await page.waitForFunction(() => /not imported/.test(document.getElementById('presets-message').textContent));
    assert.match(await message(), why, what);
    assert.deepEqual(await names(), ['Door race'], what);
    await page.fill('#preset-name', '');
    await page.evaluate(() => { document.getElementById('presets-message').textContent = ''; });
  }
  exported.presets.push({ name: 'Hard Jill', description: 'Jill on Hard', options: { difficulty: 'hard', remove: ['ammo'] } });
  await importFile('mine.json', JSON.stringify(exported));
  await page.waitForFunction(() => /Imported 2 presets/.test(document.getElementById('presets-message').textContent));

  await page.reload();
  await page.waitForSelector('body[data-ready=true]');
  assert.deepEqual(await names(), ['Door race', 'Hard Jill']);
  await choose('Hard Jill');
  assert.ok(await page.isChecked('#opt-1003') && await page.isChecked('#opt-1017') && !(await page.isChecked('#opt-1016')));
  assert.deepEqual(errors, []);
  await context.close();
});

test('the seed files go into the game folder, replacing older ones only when asked, and a failed write keeps them', async () => {
  const { page, context, errors } = await openPage();
  // A folder of the origin-private file system, through the code path of a
  // folder the player picks.
  await page.evaluate(async () => {
    const root = await navigator.storage.getDirectory();
    await useGameFolder(await root.getDirectoryHandle('game', { create: true }));
  });
  const first = runNative(['--seed', '31'], 'folder1');
  await generateIn(page, first.settings);
  await page.click('#save-to-folder');
  await page.waitForFunction(() => /^Saved/.test(document.getElementById('folder-status').textContent));
  const inFolder = (name) => page.evaluate(async (n) => {
    const folder = await (await navigator.storage.getDirectory()).getDirectoryHandle('game');
    return Array.from(new Uint8Array(await (await (await folder.getFileHandle(n)).getFile()).arrayBuffer()));
  }, name);
  const firstFiles = await downloads(page);
  for (const file of firstFiles.filter((f) => f.name.endsWith('.txt'))) {
    assert.deepEqual(await inFolder(file.name), file.bytes, file.name);
    assert.ok(Buffer.from(file.bytes).equals(fs.readFileSync(path.join(first.out, file.name))), file.name);
  }

  // The folder is remembered across visits.
  await page.reload();
  await page.waitForSelector('body[data-ready=true]');
  await page.waitForFunction(() => document.getElementById('folder-name').textContent === 'Game folder: game');

  const second = runNative(['--seed', '32'], 'folder2');
  await generateIn(page, second.settings);
  await page.click('#save-to-folder');
  await page.waitForSelector('#replace:not([hidden])');
  const question = await page.textContent('#replace-question');
  assert.ok(question.includes(first.hash) && question.includes(second.hash), question);
  await page.click('#replace-no');
  await page.waitForFunction(() => /^Kept/.test(document.getElementById('folder-status').textContent));
  assert.deepEqual(await inFolder('ItemListJillNormal.txt'), firstFiles.find((f) => f.name === 'ItemListJillNormal.txt').bytes);

  // A disk that fills up halfway through the item list.
  await page.evaluate(async () => {
    const folder = await (await navigator.storage.getDirectory()).getDirectoryHandle('game');
    const failing = Object.create(folder);
    failing.getFileHandle = async (name, options) => {
      const handle = await folder.getFileHandle(name, options);
      return {
        getFile: () => handle.getFile(),
        createWritable: async () => {
          const writable = await handle.createWritable();
          return {
            write: async (bytes) => {
              await writable.write(bytes.slice(0, 100));
              throw new DOMException('no space left', 'QuotaExceededError');
            },
            close: () => writable.close(),
            abort: () => writable.abort(),
          };
        },
      };
    };
    Object.defineProperty(failing, 'name', { value: folder.name });
    failing.queryPermission = async () => 'granted';
    await useGameFolder(failing);
  });
  await page.click('#save-to-folder');
  await page.click('#replace-yes');
  await page.waitForFunction(() => /^FAILED/.test(document.getElementById('folder-status').textContent));
  assert.match(await page.textContent('#folder-status'), /ItemListJillNormal\.txt.*the disk is full/);
  assert.deepEqual(await inFolder('ItemListJillNormal.txt'), firstFiles.find((f) => f.name === 'ItemListJillNormal.txt').bytes);
  assert.deepEqual(errors, []);
  await context.close();
});

test('one worker and four make the same files, and the pool has a worker per core', async () => {
  const { page, context } = await openPage();
  assert.equal(await page.evaluate(() => generation.pool.size),
    await page.evaluate(() => Math.min(16, navigator.hardwareConcurrency)));
  const native = runNative(['--character', 'chris', '--difficulty', 'hard', '--locks', '--seed', '2'], 'pool');
  for (const workers of [1, 4]) {
    await page.evaluate((n) => {
      generation.close();
      generation = new Generation(n);
    }, workers);
    await generateIn(page, native.settings);
    assert.equal(await page.textContent('#log'), native.log, `${workers} workers`);
    await assertSeedFiles(page, native, `${workers} workers`);
  }
  await context.close();
});

test('axe-core finds no violations before and after a generation and with the verifier and tracker in use', async () => {
  const { page, context } = await openPage();
  const axe = path.join(root, 'web/node_modules/axe-core/axe.min.js');
  const violations = async (when) => {
    await page.addScriptTag({ path: axe });
    const found = await page.evaluate(async () => (await window.axe.run(document)).violations
      .map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(' ')).join(', ')}`));
    assert.deepEqual(found, [], when);
  };
  await violations('before a generation');
  const native = runNative(['--enemies', '--seed', '13'], 'axe');
  await generateIn(page, native.settings);
  await page.click('#my-presets summary');
  await violations('after a generation');
  await page.setInputFiles('#verify-file', path.join(native.out, 'ItemListJillNormal.txt'));
  await page.waitForFunction(() => document.getElementById('verify-result').dataset.status === '0');
  await page.click('#track-file');
  await page.check('#hold-100');
  await page.click('#open-rooms li button');
  await violations('with the verifier and tracker in use');
  await context.close();
});
