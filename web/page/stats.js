// Statistics in the page: N seeds of the options shown, made by the
// generator's own code on a worker pool of their own, then three plots (where the
// key items land, the item attempts, the playthrough's spheres) and the CSV
// that `velmora stats --csv` writes for the same seeds, byte for byte. The
// plotting library (Observable Plot on d3) is part of the site and loaded on
// first use.
'use strict';

// Seeds a worker makes between two reports: small enough for a smooth
// progress bar, large enough that the messages cost little.
const kStatsBatch = 20;
let statsPool = null;
let statsRun = null;
let statsJob = 0;
let plotLibrary = null;

function loadScript(src) {
  return new Promise((resolve, reject) => {
    const script = document.createElement('script');
    script.src = src;
    script.onload = resolve;
    script.onerror = () => reject(new Error(`could not load ${src}`));
    document.head.append(script);
  });
}

function loadPlot() {
  plotLibrary ??= loadScript('d3.min.js').then(() => loadScript('plot.umd.min.js'));
  return plotLibrary;
}

function stopStatsWorkers() {
  if (statsPool) statsPool.close();
  statsPool = null;
}

function setStatsRunning(on) {
  $('stats').disabled = on;
  $('stats-cancel').disabled = !on;
  $('stats-count').disabled = on;
}

function startStats() {
  if (statsRun) return;
  const count = Number($('stats-count').value);
  if (!Number.isInteger(count) || count < 1 || count > 100000) {
    $('stats-status').textContent = 'The number of seeds must be a whole number from 1 to 100000.';
    return;
  }
  const seed = seedValue();
  const first = $('seed').value.trim() === '' ? 1 : seed.value;
  if (seed.error) {
    $('stats-status').textContent = seed.error;
    return;
  }
  const seeds = Array.from({ length: count }, (_, i) => (first + i) % 4294967296);
  const settings = seeds.map((s) => dialog.settings(s));
  statsRun = { job: ++statsJob, settings, seeds, figures: new Array(count), done: 0, started: performance.now() };
  $('stats-plots').replaceChildren();
  $('stats-download').replaceChildren();
  $('stats-progress').max = count;
  $('stats-progress').value = 0;
  $('stats-status').textContent = `0 of ${count} seeds`;
  setStatsRunning(true);
  loadPlot().catch(() => {});
  statsPool = new WorkerPool(Math.max(1, Math.min(defaultWorkerCount(), Math.ceil(count / kStatsBatch))));
  const job = statsRun.job;
  for (let batch = 0; batch < count; batch += kStatsBatch) {
    const message = { type: 'stats', job, batch, settings: settings.slice(batch, batch + kStatsBatch) };
    statsPool.run(message).then(receiveStats);
  }
}

function receiveStats(message) {
  const run = statsRun;
  if (!run || message.type !== 'stats-figures' || message.job !== run.job) return;
  message.figures.forEach((figures, i) => {
    run.figures[message.batch + i] = { seed: run.seeds[message.batch + i], ...figures };
  });
  run.done += message.figures.length;
  $('stats-progress').value = run.done;
  $('stats-status').textContent = `${run.done} of ${run.settings.length} seeds`;
  if (run.done < run.settings.length) return;
  stopStatsWorkers();
  finishStats(run);
}

function cancelStats() {
  if (!statsRun) return;
  stopStatsWorkers();
  statsRun = null;
  setStatsRunning(false);
  $('stats-status').textContent = 'Cancelled.';
}

async function finishStats(run) {
  const summary = JSON.parse(velmora.statsSummary(JSON.stringify(run.figures)));
  const first = run.figures[0];
  const name = `Stats${first.character ? 'Chris' : 'Jill'}${first.difficulty ? 'Hard' : 'Normal'}.csv`;
  $('stats-download').replaceChildren(downloadLink(name, summary.csv, 'text/csv', `Download CSV (${name})`));
  try {
    await loadPlot();
    drawStatsPlots(run, summary);
  } catch (e) {
    $('stats-status').textContent = `The plots could not be drawn: ${e.message}`;
  }
  const seconds = (performance.now() - run.started) / 1000;
  $('stats-status').textContent = `${run.settings.length} seeds in ${seconds.toFixed(1)} s`;
  $('stats-status').dataset.seconds = seconds;
  statsRun = null;
  setStatsRunning(false);
}

// One plot in a figure of its own, with a caption and a label for readers
// of the page who cannot see it.
function addPlot(id, caption, plot) {
  const figure = document.createElement('figure');
  figure.id = id;
  figure.className = 'stats-plot';
  const text = document.createElement('figcaption');
  text.textContent = caption;
  for (const svg of plot.tagName === 'svg' ? [plot] : plot.querySelectorAll('svg')) {
    svg.setAttribute('role', 'img');
    if (!svg.getAttribute('aria-label')) svg.setAttribute('aria-label', caption);
  }
  figure.append(text, plot);
  $('stats-plots').append(figure);
}

function drawStatsPlots(run, summary) {
  const seeds = run.figures.length;
  // Key items by room: each cell is how often the item lay there against an
  // even spread over the rooms it lay in at all in these seeds.
  // Two items of one name are told apart by their ids.
  const label = (item) => summary.keys.filter((k) => summary.items[k] === summary.items[item]).length > 1
    ? `${summary.items[item]} (item ${item})` : summary.items[item];
  const cells = [];
  for (const item of summary.keys) {
    const row = summary.counts[item];
    const rooms = row.filter((n) => n > 0).length;
    row.forEach((n, room) => {
      if (n > 0) cells.push({ item: label(item), room: summary.rooms[room], count: n, ratio: n / (seeds / rooms) });
    });
  }
  const usedRooms = summary.rooms.filter((_, room) => summary.keys.some((item) => summary.counts[item][room] > 0));
  addPlot('plot-items', `Where the key items land over ${seeds} seeds: each room against an even spread over the rooms the item reaches`,
    Plot.plot({
      ariaLabel: 'Key items by room',
      marginLeft: 210,
      marginBottom: 200,
      width: 230 + summary.keys.length * 16,
      height: 220 + usedRooms.length * 12,
      x: { domain: summary.keys.map(label), tickRotate: -60, label: null },
      y: { domain: usedRooms, label: null },
      color: { type: 'diverging-log', pivot: 1, scheme: 'PuOr', legend: true, label: 'times an even spread' },
      marks: [Plot.cell(cells, { x: 'item', y: 'room', fill: 'ratio', title: (d) => `${d.item} in ${d.room}: ${d.count} of ${seeds} seeds (${d.ratio.toFixed(2)} times an even spread)` })],
    }));

  // Item attempts on a logarithmic axis, four bins a decade.
  const attempts = run.figures.map((f) => f.attempts).filter((n) => n > 0);
  const bins = new Map();
  for (const n of attempts) {
    const k = Math.floor(Math.log10(n) * 4);
    bins.set(k, (bins.get(k) || 0) + 1);
  }
  const bars = [...bins].map(([k, count]) => ({ x1: 10 ** (k / 4), x2: 10 ** ((k + 1) / 4), count }));
  addPlot('plot-attempts', `Item attempts per seed (${attempts.length} seeds that shuffle items; logarithmic axis)`,
    Plot.plot({
      ariaLabel: 'Histogram of item attempts',
      x: { type: 'log', label: 'item attempts' },
      y: { label: 'seeds', grid: true },
      marks: [Plot.rectY(bars, { x1: 'x1', x2: 'x2', y: 'count', fill: '#2f5d8a', inset: 0.5 }), Plot.ruleY([0])],
    }));

  // The playthrough's spheres; Doors seeds have none.
  const spheres = new Map();
  for (const f of run.figures) if (f.spheres >= 0) spheres.set(f.spheres, (spheres.get(f.spheres) || 0) + 1);
  const sphereBars = [...spheres].sort((a, b) => a[0] - b[0]).map(([n, count]) => ({ spheres: n, count }));
  addPlot('plot-spheres', `Spheres of the playthrough (${sphereBars.reduce((a, b) => a + b.count, 0)} seeds with a playthrough)`,
    Plot.plot({
      ariaLabel: 'Histogram of playthrough spheres',
      x: { label: 'spheres', type: 'band' },
      y: { label: 'seeds', grid: true },
      marks: [Plot.barY(sphereBars, { x: 'spheres', y: 'count', fill: '#8a5a2f' }), Plot.ruleY([0])],
    }));
}

function setupStats() {
  $('stats').addEventListener('click', startStats);
  $('stats-cancel').addEventListener('click', cancelStats);
}
