// Page-side generation times in headless chromium: for each selection, seeds
// 1..N generated through the page's controls, with the worker's time per
// generation; then the item search's attempts per second in the page (Chris
// Normal seeds searched without the attempt index), in one worker and in the
// page's two, beside the native program's on one thread; then statistics
// over 1,000 Jill Normal and 1,000 Chris Hard seeds in the page beside
// `velmora stats` natively. Prints figures; it judges nothing.
// Usage: node web/bench.mjs [SEEDS] [SELECTION] (default 20 seeds), with the
// site built (scripts/web.sh --build-only) and the native program in
// $VELMORA (default build/ci/cli/velmora).
import { execFileSync } from 'node:child_process';
import http from 'node:http';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '..');
const site = path.join(root, 'build/web/site');
const velmora = process.env.VELMORA || path.join(root, 'build/ci/cli/velmora');
const seeds = Number(process.argv[2] || 20);
const only = process.argv[3];
const selections = {
  'Jill Normal': [],
  'Chris Normal': [1001],
  'Chris Hard': [1001, 1003],
  'Chris Hard, locks': [1001, 1003, 1007],
};
const types = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css', '.wasm': 'application/wasm' };
const server = http.createServer((request, response) => {
  const file = path.join(site, path.normalize(new URL(request.url, 'http://x').pathname));
  if (!file.startsWith(site) || !fs.existsSync(file)) return response.writeHead(404).end();
  response.writeHead(200, { 'Content-Type': types[path.extname(file)] || 'application/octet-stream' });
  fs.createReadStream(file).pipe(response);
});
await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
const browser = await chromium.launch({
  executablePath: '/usr/bin/chromium',
  args: ['--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
    '--disable-component-update', '--disable-sync'],
});
const page = await browser.newPage();
for (const [name, clicks] of Object.entries(selections)) {
  if (only && name !== only) continue;
  await page.goto(`http://127.0.0.1:${server.address().port}/index.html`);
  await page.waitForSelector('body[data-ready=true]');
  for (const id of clicks) await page.click(`#opt-${id}`);
  const times = [];
  let attempts = 0;
  for (let seed = 1; seed <= seeds; ++seed) {
    await page.fill('#seed', String(seed));
    await page.click('#generate');
    await page.waitForSelector('#facts:not([hidden])', { timeout: 3600000 });
    const shown = await page.$eval('#attempts', (e) => ({ ms: Number(e.dataset.milliseconds), text: e.textContent }));
    times.push(shown.ms);
    attempts += Number(shown.text.split(' ')[0]);
    await page.waitForSelector('#generate:not([disabled])');
  }
  const mean = times.reduce((a, b) => a + b, 0) / times.length;
  const seconds = times.reduce((a, b) => a + b, 0) / 1000;
  console.log(`${name}: ${seeds} seeds, mean ${mean.toFixed(1)} ms, maximum ${Math.max(...times).toFixed(1)} ms ` +
    `(seed ${times.indexOf(Math.max(...times)) + 1}), ` +
    `item attempts ${attempts} (${Math.round(attempts / seconds)} per second over the whole generation)`);
}

// The search alone: Chris Normal seeds whose item loop deals every attempt.
const searched = Math.max(1, Math.round(seeds / 4));
if (!only || only === 'search') {
  await page.goto(`http://127.0.0.1:${server.address().port}/index.html`);
  await page.waitForSelector('body[data-ready=true]');
  await page.click('#opt-1001');
  const settings = [];
  for (let seed = 1; seed <= searched; ++seed) {
    await page.fill('#seed', String(seed));
    settings.push(await page.textContent('#settings'));
  }
  // One worker searching on its own, as a page without the second worker.
  const page_rate = await page.evaluate((all) => new Promise((resolve) => {
    const worker = new Worker('worker.js');
    let attempts = 0;
    let milliseconds = 0;
    let next = 0;
    const post = () => worker.postMessage({ type: 'generate', job: next, settings: all[next], attemptIndex: false, answers: null });
    worker.onmessage = (event) => {
      if (event.data.type !== 'done') return;
      attempts += event.data.result.attempts;
      milliseconds += event.data.result.milliseconds;
      if (++next < all.length) post();
      else {
        worker.terminate();
        resolve({ attempts, milliseconds });
      }
    };
    post();
  }), settings);
  // The page's two workers, timed from each generation's start to its result.
  const two_rate = await page.evaluate((all) => new Promise((resolve) => {
    const generation = new Generation();
    let attempts = 0;
    let milliseconds = 0;
    let next = 0;
    const run = () => generation.start(all[next], { log() {}, attempts() {}, done }, false);
    function done(result) {
      attempts += result.attempts;
      milliseconds += result.milliseconds;
      if (++next < all.length) run();
      else {
        generation.cancel();
        resolve({ attempts, milliseconds });
      }
    }
    run();
  }), settings);
  const native = execFileSync(velmora, ['stats', '--count', String(searched), '--seed', '1', '--threads', '1',
    '--character', 'chris', '--no-attempt-index'], { encoding: 'utf8' });
  const mean = Number(native.match(/attempts per seed: mean ([0-9.]+)/)[1]);
  const wall = Number(native.match(/wall clock: ([0-9.]+) s/)[1]);
  console.log(`item search, Chris Normal seeds 1..${searched} without the attempt index: ` +
    `page ${Math.round(page_rate.attempts / (page_rate.milliseconds / 1000))} attempts per second in one worker, ` +
    `${Math.round(two_rate.attempts / (two_rate.milliseconds / 1000))} in two, ` +
    `native ${Math.round((mean * searched) / wall)} on one thread`);
}
// Statistics in the page: seconds from "Generate Statistics" to the drawn
// plots over 1,000 seeds, beside `velmora stats --count 1000` natively.
const statsSelections = { 'Jill Normal': [[], []], 'Chris Hard': [[1001, 1003], ['--character', 'chris', '--difficulty', 'hard']] };
for (const [name, [clicks, args]] of Object.entries(statsSelections)) {
  if (only && only !== `stats ${name}`) continue;
  await page.goto(`http://127.0.0.1:${server.address().port}/index.html`);
  await page.waitForSelector('body[data-ready=true]');
  for (const id of clicks) await page.click(`#opt-${id}`);
  await page.fill('#stats-count', '1000');
  const started = Date.now();
  await page.click('#stats');
  await page.waitForSelector('#plot-spheres svg', { timeout: 3600000 });
  const page_seconds = (Date.now() - started) / 1000;
  const native = execFileSync(velmora, ['stats', '--count', '1000', ...args], { encoding: 'utf8' });
  const wall = Number(native.match(/wall clock: ([0-9.]+) s/)[1]);
  console.log(`statistics, ${name} seeds 1..1000: page ${page_seconds.toFixed(1)} s from start to drawn plots ` +
    `(${await page.evaluate(() => navigator.hardwareConcurrency)} workers), native ${wall.toFixed(2)} s`);
}
await browser.close();
server.close();
