// What the page's tests share: a static server of a built site, Debian's
// headless chromium, the native command line's runs, and the page's
// downloads. Needs the site (scripts/web.sh --build-only) and the native
// program ($VELMORA, default build/ci/cli/velmora).
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';

export const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
export const site = path.join(root, 'build/web/site');
export const velmora = process.env.VELMORA || path.join(root, 'build/ci/cli/velmora');
export const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'velmora-web-'));
const types = {
  '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css', '.wasm': 'application/wasm',
  '.webmanifest': 'application/manifest+json', '.png': 'image/png', '.svg': 'image/svg+xml',
};

/// Serves the folder `dir` as a static host would, on 127.0.0.1. Returns
/// {base: the page's address, close(), online}: setting `online` false
/// drops every request as a lost network would.
export async function serveSite(dir) {
  const served = { online: true };
  const server = http.createServer((request, response) => {
    if (!served.online) return request.socket.destroy();
    const file = path.join(dir, path.normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname)));
    if (!file.startsWith(dir) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) return response.writeHead(404).end();
    response.writeHead(200, { 'Content-Type': types[path.extname(file)] || 'application/octet-stream' });
    fs.createReadStream(file).pipe(response);
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  served.base = `http://127.0.0.1:${server.address().port}/index.html`;
  served.close = () => {
    server.closeAllConnections();
    server.close();
  };
  return served;
}

const kChromium = {
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  args: ['--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
    '--disable-component-update', '--disable-sync'],
};

export function launchBrowser() {
  return chromium.launch(kChromium);
}

/// A browser with a profile on disk in `dir`, as a player's is: unlike the
/// private contexts of launchBrowser, it may install web apps.
export function launchProfile(dir, viewport = { width: 1100, height: 900 }) {
  return chromium.launchPersistentContext(dir, { ...kChromium, viewport });
}

/// Opens the page at `base + hash` in a context of its own, once it is ready.
export async function openPageAt(browser, base, hash = '', viewport = { width: 1100, height: 900 }) {
  const context = await browser.newContext({ viewport });
  const page = await context.newPage();
  const errors = [];
  page.on('pageerror', (e) => errors.push(e.message));
  await page.goto(base + hash);
  await page.waitForSelector('body[data-ready=true]');
  return { page, context, errors };
}

/// The native command line's run: its log, settings string, hash and files.
export function runNative(args, name) {
  const out = path.join(scratch, name);
  fs.mkdirSync(out, { recursive: true });
  const extra = ['--out', out, '--spoiler-json', path.join(out, 'spoiler.json')];
  if (args.includes('--doors') || args.includes('--mystery')) extra.push('--door-map', path.join(out, 'map.dot'));
  const run = spawnSync(velmora, [...args, ...extra], { encoding: 'latin1' });
  assert.equal(run.status, 0, run.stderr);
  const field = (key) => run.stderr.match(new RegExp(`^${key} (.*)$`, 'm'))[1];
  return { log: run.stdout, settings: field('settings'), hash: Buffer.from(field('hash'), 'latin1').toString('utf8'), out };
}

/// The page's downloads: [{name, bytes}] with the bytes as an array.
export async function downloads(page) {
  return page.$$eval('a[download]', (links) => Promise.all(links.map(async (a) => ({
    name: a.download,
    bytes: Array.from(new Uint8Array(await (await fetch(a.href)).arrayBuffer())),
  }))));
}

/// Generates the seed of `settings` through the page's controls and waits
/// for its result.
export async function generateIn(page, settings) {
  await page.fill('#settings-input', settings);
  await page.click('#load-settings');
  await page.click('#generate');
  await page.waitForSelector('#facts:not([hidden])', { timeout: 300000 });
}

/// Asserts that the page's item list and cheat sheet are the native run's.
export async function assertSeedFiles(page, native, what) {
  const files = await downloads(page);
  for (const name of fs.readdirSync(native.out).filter((n) => n.endsWith('.txt'))) {
    const file = files.find((f) => f.name === name);
    assert.ok(file, `${what}: ${name} offered`);
    assert.ok(Buffer.from(file.bytes).equals(fs.readFileSync(path.join(native.out, name))), `${what}: ${name}`);
  }
}
