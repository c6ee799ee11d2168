// Page-side generation times in headless chromium: for each selection, seeds
// 1..N generated through the page's controls, with the worker's time per
// generation; then Chris Hard with Locks on pools of 1, 2 and 4 workers;
// then the item search's attempts per second in the page (Chris Normal seeds
// searched without the attempt index), in one worker and in two, beside the
// native program's on one thread; then statistics over 1,000 Jill Normal and
// 1,000 Chris Hard seeds in the page beside `velmora stats` natively. Prints
// figures; it judges nothing.
// Usage: node web/bench.mjs [SEEDS] [SELECTION] (default 20 seeds; SELECTION
// one of the names below, 'workers', 'search', 'stats Jill Normal' or
// 'stats Chris Hard'), with the
// site built (scripts/web.sh --build-only) and the native program in
// $VELMORA (default build/ci/cli/velmora).
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import { site, velmora, scratch, serveSite, launchBrowser } from './tests/driver.mjs';

const seeds = Number(process.argv[2] || 20);
const only = process.argv[3];
const selections = {
  'Jill Normal': [],
  'Chris Normal': [1001],
  'Chris Hard': [1001, 1003],
  'Chris Hard, locks': [1001, 1003, 1007],
};
const server = await serveSite(site);
const browser = await launchBrowser();
const page = await browser.newPage();
await page.goto(server.base);
await page.waitForSelector('body[data-ready=true]');
console.log(`${await page.evaluate(() => navigator.hardwareConcurrency)} logical cores; ` +
  `the page uses ${await page.evaluate(() => defaultWorkerCount())} workers`);

// Seeds 1..N of the options `clicks` sets, on a pool of `workers` workers
// (the page's own when undefined).
async function timeSeeds(name, clicks, workers) {
  await page.goto(server.base);
  await page.waitForSelector('body[data-ready=true]');
  await page.click('#defaults');
  if (workers) {
    await page.evaluate(async (n) => {
      generation.close();
      generation = new Generation(n);
      await generation.pool.ready;
    }, workers);
  }
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

for (const [name, clicks] of Object.entries(selections)) {
  if (!only || name === only) await timeSeeds(name, clicks);
}
for (const workers of [1, 2, 4]) {
  const name = `Chris Hard, locks, ${workers} worker${workers > 1 ? 's' : ''}`;
  if (!only || only === 'workers') await timeSeeds(name, selections['Chris Hard, locks'], workers);
}

// The search alone: Chris Normal seeds whose item loop deals every attempt.
const searched = Math.max(1, Math.round(seeds / 4));
if (!only || only === 'search') {
  await page.goto(server.base);
  await page.waitForSelector('body[data-ready=true]');
  await page.click('#defaults');
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
  // Two workers, timed from each generation's start to its result.
  const two_rate = await page.evaluate((all) => new Promise((resolve) => {
    const generation = new Generation(2);
    let attempts = 0;
    let milliseconds = 0;
    let next = 0;
    const run = () => generation.start(all[next], { log() {}, attempts() {}, done }, false);
    function done(result) {
      attempts += result.attempts;
      milliseconds += result.milliseconds;
      if (++next < all.length) run();
      else {
        generation.close();
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
  await page.goto(server.base);
  await page.waitForSelector('body[data-ready=true]');
  for (const id of clicks) await page.click(`#opt-${id}`);
  await page.fill('#stats-count', '1000');
  const started = Date.now();
  await page.click('#stats');
  const workers = await page.evaluate(() => statsPool.size);
  await page.waitForSelector('#plot-spheres svg', { timeout: 3600000 });
  const page_seconds = (Date.now() - started) / 1000;
  const native = execFileSync(velmora, ['stats', '--count', '1000', ...args], { encoding: 'utf8' });
  const wall = Number(native.match(/wall clock: ([0-9.]+) s/)[1]);
  console.log(`statistics, ${name} seeds 1..1000: page ${page_seconds.toFixed(1)} s from start to drawn plots ` +
    `(${workers} workers), native ${wall.toFixed(2)} s`);
}
await browser.close();
server.close();
fs.rmSync(scratch, { recursive: true, force: true });
