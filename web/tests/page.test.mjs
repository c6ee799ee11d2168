// The page in Debian's headless chromium: its options and rules, links,
// generation against the native command line byte for byte, Cancel, the
// verifier and the tracker. Needs the site (scripts/web.sh --build-only) and
// the native program ($VELMORA, default build/ci/cli/velmora).
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { root, site, velmora, scratch, serveSite, launchBrowser, openPageAt, runNative, downloads } from './driver.mjs';

let server;
let browser;
let base;

before(async () => {
  server = await serveSite(site);
  base = server.base;
  browser = await launchBrowser();
});

after(async () => {
  await browser?.close();
  server?.close();
  fs.rmSync(scratch, { recursive: true, force: true });
});

const openPage = (hash, viewport) => openPageAt(browser, base, hash, viewport);

// Opens the page again at `hash`, as a link followed later would.
async function reopen(page, hash) {
  await page.goto(base + hash);
  await page.reload();
  await page.waitForSelector('body[data-ready=true]');
}

test('defaults, enable rules, links, a malformed link and a phone-sized screen', async () => {
  const { page, context, errors } = await openPage('', { width: 360, height: 740 });
  assert.ok(await page.evaluate(() => document.documentElement.scrollWidth <= window.innerWidth), 'sideways scrolling');
  await page.keyboard.press('Tab');
  assert.equal(await page.evaluate(() => document.activeElement.id), 'opt-1000');
  const checked = (id) => page.isChecked(`#opt-${id}`);
  const enabled = (id) => page.isEnabled(`#opt-${id}`);
  const boxes = async (on, off) => {
    for (const id of [...on, ...off]) assert.equal(await checked(id), on.includes(id), `box ${id}`);
  };
  // Jill, Normal, Items, one of each spawn, the fast Tyrant and every kind.
  await boxes([1000, 1002, 1004, 1020, 1023, 1027, 1031, 1008, 1015], [1001, 1003, 1005, 1006, 1007, 1016, 1034, 1035]);
  // A click runs the dialog's handler, whose rules are tested natively;
  // the page shows its checks and enabling: Doors forces Normal.
  for (const id of [1003, 1006]) await page.click(`#opt-${id}`);
  assert.ok(await checked(1002) && !(await checked(1003)) && !(await enabled(1003)), 'Doors forces Normal');
  // Every label names its control.
  assert.equal(await page.$$eval('input, select', (all) => all.filter((i) => !i.labels?.length).length), 0);

  const native = runNative(('--character chris --difficulty hard --enemies --kinds dogs,bees --yawn many '
    + '--tyrant-type random --remove ammo --armed-capsule --seed 77').split(' '), 'link');
  await reopen(page, '#' + native.settings);
  assert.equal(await page.textContent('#settings'), native.settings);
  assert.equal(await page.inputValue('#seed'), '77');
  await boxes([1001, 1003, 1005, 1009, 1013, 1024, 1033, 1017, 1035], [1008, 1010, 1023, 1031, 1016]);

  const bad = '1303ZG0000001B';
  const refused = spawnSync(velmora, ['--settings', bad], { encoding: 'utf8' });
  await reopen(page, '#' + bad);
  assert.equal(await page.textContent('#settings-error'), refused.stderr.trim());
  assert.ok(await checked(1000) && !(await checked(1005)), 'the options keep their defaults');
  assert.deepEqual(errors, []);
  await context.close();
});

// Each case runs natively and in the page; log, hash and every file must
// agree byte for byte.
const cases = [
  '--character chris --difficulty hard --seed 15',
  '--no-items --enemies --kinds zombies,dogs --tyrant many --yawn none --lisa many --tyrant-type random --seed 3',
  '--character chris --doors --enemies --seed 6',
  '--locks --seed 1',
  '--character chris --difficulty hard --no-items --locks --enemies --kinds none --tyrant none --seed 7',
  '--difficulty hard --remove ink,defence,ammo --swap-sdg --armed-capsule --seed 9',
  // The last one stays on the screen for the README's picture.
  '--enemies --kinds hunters,spiders,sharks,bees,chimera,elder-crimson-heads --tyrant-type slow --seed 4',
].map((line) => line.split(' '));

test('the page makes the command line\'s files, log and hash', async () => {
  const { page, context, errors } = await openPage('', { width: 1280, height: 900 });
  const renamed = { 'spoiler.json': /^Spoiler.*\.json$/, 'map.dot': /^DoorMap.*\.dot$/ };
  for (const [index, args] of cases.entries()) {
    const native = runNative(args, `case${index}`);
    await page.fill('#settings-input', native.settings);
    await page.click('#load-settings');
    await page.click('#generate');
    await page.waitForSelector('#facts:not([hidden])', { timeout: 120000 });
    const what = `${args.join(' ')} (${native.settings})`;
    assert.equal(await page.textContent('#log'), native.log, what);
    assert.equal(await page.textContent('#hash'), native.hash, what);
    assert.equal(await page.textContent('#result-settings'), native.settings, what);
    // The downloads by the names the command line gave their files.
    const files = Object.fromEntries((await downloads(page)).map((f) =>
      [Object.keys(renamed).find((name) => renamed[name].test(f.name)) ?? f.name, Buffer.from(f.bytes)]));
    const expected = fs.readdirSync(native.out).sort();
    assert.deepEqual(Object.keys(files).sort(), expected, what);
    for (const name of expected) assert.ok(files[name].equals(fs.readFileSync(path.join(native.out, name))), `${what}: ${name}`);
    if (args.includes('--doors')) await page.waitForSelector('#door-map:not([hidden]) svg');
  }
  // The picture shows the presets and a chosen game folder too.
  await page.click('#my-presets summary');
  await page.evaluate(async () => useGameFolder(await (await navigator.storage.getDirectory()).getDirectoryHandle('Game', { create: true })));
  const shot = path.join(root, 'build/web/web.png');
  await page.screenshot({ path: shot, fullPage: true });
  if (process.env.VELMORA_UPDATE_SCREENSHOT) fs.copyFileSync(shot, path.join(root, 'docs/web.png'));
  assert.deepEqual(errors, []);
  await context.close();
});

test('Cancel stops a long search and offers no file', async () => {
  // A lock seed: the attempt index answers only plain tables, so its items
  // are searched, for many seconds in a page.
  const long = runNative(['--character', 'chris', '--difficulty', 'hard', '--locks', '--seed', '1'], 'long');
  const { page, context } = await openPage('#' + long.settings);
  await page.click('#generate');
  assert.ok(await page.isDisabled('#generate'));
  await page.waitForFunction(() => /^\d+ attempts$/.test(document.getElementById('attempts').textContent));
  await page.click('#cancel');
  assert.match(await page.textContent('#attempts'), /Cancelled/);
  assert.equal(await page.$$eval('a[download]', (a) => a.length), 0);
  assert.ok(await page.isEnabled('#generate') && await page.isDisabled('#cancel'));
  await context.close();
});

test('verify: sound, truncated, unsound and unnamed files', async () => {
  const { page, context, errors } = await openPage();
  const native = runNative(['--seed', '11'], 'verify');
  const good = fs.readFileSync(path.join(native.out, 'ItemListJillNormal.txt'));
  const lines = good.toString('latin1').split('\r\n');
  const variants = {
    sound: good,
    truncated: Buffer.from(lines.slice(0, 100).join('\r\n') + '\r\n', 'latin1'),
    unsound: Buffer.from([lines[1], ...lines.slice(1)].join('\r\n'), 'latin1'),
  };
  for (const [kind, bytes] of Object.entries(variants)) {
    const dir = path.join(scratch, 'verify-' + kind);
    fs.mkdirSync(dir);
    const file = path.join(dir, 'ItemListJillNormal.txt');
    fs.writeFileSync(file, bytes);
    const verdict = spawnSync(velmora, ['verify', file], { encoding: 'utf8' });
    await page.setInputFiles('#verify-file', file);
    await page.waitForFunction((status) => document.getElementById('verify-result').dataset.status === String(status), verdict.status);
    assert.equal(await page.textContent('#verify-result'), (verdict.stdout + verdict.stderr).trim().replace(dir + '/', ''), kind);
  }
  // A name that tells no character and difficulty; the reader's own
  // refusals (empty, too long, malformed) are tested natively.
  await page.setInputFiles('#verify-file', { name: 'seed.txt', mimeType: 'text/plain', buffer: good });
  await page.waitForFunction(() => document.getElementById('verify-result').textContent.includes('seed.txt'));
  assert.match(await page.textContent('#verify-result'), /does not tell the character and difficulty/);
  assert.deepEqual(errors, []);
  await context.close();
});

test('the tracker opens the rooms of the ticked items and keeps the ticks', async () => {
  const { page, context } = await openPage();
  // An unshuffled Jill Normal list: every slot holds its own item. Worked
  // by hand from the plain tables: area 2 (11 slots in 6 rooms) needs
  // nothing; the Sword Key (100) opens areas 7 (10 slots) and 11 (7 slots)
  // in 9 more rooms; with the Stone and Metal Object (102) also area 19,
  // which needs 100 and one of 102 or 34 + 129 (6 slots in 3 rooms).
  const native = runNative(['--no-items', '--seed', '12'], 'tracker');
  await page.setInputFiles('#verify-file', path.join(native.out, 'ItemListJillNormal.txt'));
  await page.click('#track-file');
  const summary = () => page.textContent('#open-summary');
  assert.equal(await summary(), '11 of 185 item locations in 6 rooms are open.');
  await page.check('#hold-100');
  assert.equal(await summary(), '28 of 185 item locations in 15 rooms are open.');
  await page.check('#hold-102');
  assert.equal(await summary(), '34 of 185 item locations in 18 rooms are open.');
  assert.doesNotMatch(await page.textContent(`#open-rooms li[data-slot="107"]`), /holds/);
  await page.click(`#open-rooms li[data-slot="107"] button`);
  assert.match(await page.textContent(`#open-rooms li[data-slot="107"]`), /holds Square Crank$/);
  await reopen(page, '');
  assert.ok(await page.isChecked('#hold-100') && await page.isChecked('#hold-102'));
  assert.equal(await summary(), '34 of 185 item locations in 18 rooms are open.');
  assert.match(await page.textContent(`#open-rooms li[data-slot="107"]`), /holds/);
  await context.close();
});

test('a mystery seed hides its settings, and its hash and files are the command line\'s', async () => {
  const { page, context, errors } = await openPage();
  const weights = path.join(root, 'docs/mystery/quick.json');
  const native = runNative(['--mystery', weights, '--seed', '9'], 'mystery');
  await page.fill('#seed', '9');
  await page.selectOption('#mystery-set', 'quick');
  await page.click('#mystery');
  await page.waitForSelector('#facts:not([hidden])');
  assert.equal(await page.textContent('#hash'), native.hash);
  assert.equal(await page.textContent('#result-settings'), 'hidden');
  assert.ok(await page.isHidden('#log'));
  assert.notEqual(await page.textContent('#settings'), native.settings, 'the form still shows its own options');
  const renamed = { 'spoiler.json': /^Spoiler.*\.json$/, 'map.dot': /^DoorMap.*\.dot$/ };
  const files = Object.fromEntries((await downloads(page)).map((f) =>
    [Object.keys(renamed).find((name) => renamed[name].test(f.name)) ?? f.name, Buffer.from(f.bytes)]));
  const expected = fs.readdirSync(native.out).sort();
  assert.deepEqual(Object.keys(files).sort(), expected);
  for (const name of expected) assert.ok(files[name].equals(fs.readFileSync(path.join(native.out, name))), name);
  await page.click('#show-settings');
  assert.equal(await page.textContent('#result-settings'), native.settings);
  assert.equal(await page.textContent('#settings'), native.settings);
  assert.equal(await page.textContent('#log'), native.log);

  // A dropped file with a negative weight: the command line's message.
  const bad = path.join(scratch, 'bad.json');
  fs.writeFileSync(bad, '{"locks": {"on": -2}}');
  const refused = spawnSync(velmora, ['--mystery', bad, '--seed', '9'], { encoding: 'utf8' });
  await page.setInputFiles('#mystery-weights', bad);
  await page.waitForSelector('#mystery-set option[value=file]:not([disabled])', { state: 'attached' });
  await page.click('#mystery');
  await page.waitForSelector('#mystery-error:not([hidden])');
  assert.equal(await page.textContent('#mystery-error'), refused.stderr.trim().replace(bad, 'bad.json'));
  assert.deepEqual(errors, []);
  await context.close();
});

test('statistics over 200 seeds draw three labelled plots and the command line\'s CSV', async () => {
  const { page, context, errors } = await openPage('', { width: 1280, height: 900 });
  await page.fill('#stats-count', '200');
  await page.click('#stats');
  await page.waitForSelector('#plot-spheres svg', { timeout: 300000 });
  for (const id of ['plot-items', 'plot-attempts', 'plot-spheres']) {
    const labels = await page.$$eval(`#${id} svg[role=img]`, (all) => all.map((svg) => svg.getAttribute('aria-label')));
    assert.ok(labels.length >= 1 && labels.every((l) => l), `${id}: ${labels}`);
    assert.ok(await page.$eval(`#${id} figcaption`, (c) => c.textContent.length > 0), id);
  }
  assert.ok(await page.$$eval('#plot-items svg rect', (cells) => cells.length) > 100, 'the heat table has its cells');
  const csv = path.join(scratch, 'stats.csv');
  const run = spawnSync(velmora, ['stats', '--count', '200', '--csv', csv], { encoding: 'utf8' });
  assert.equal(run.status, 0, run.stderr);
  const [download] = (await downloads(page)).filter((f) => f.name.endsWith('.csv'));
  assert.ok(Buffer.from(download.bytes).equals(fs.readFileSync(csv)), 'the CSV is the command line\'s');
  const shot = path.join(root, 'build/web/stats.png');
  await page.locator('#stats-plots').screenshot({ path: shot });
  if (process.env.VELMORA_UPDATE_SCREENSHOT) fs.copyFileSync(shot, path.join(root, 'docs/stats.png'));
  assert.deepEqual(errors, []);
  await context.close();
});
