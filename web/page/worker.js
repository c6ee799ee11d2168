// Runs generations and item searches off the page's thread, for the page's
// worker pool (generation.js). Messages in:
//   {type: 'generate', job, settings, attemptIndex, answers}: a generation;
//     `answers` null searches the items here, an array takes the deciding
//     attempts of the first item searches from it and stops at the next one.
//   {type: 'search', job, settings, attemptIndex, answers, first, last}: the
//     first passing attempt, among attempts first..last, of the search that
//     that generation stops at; the worker runs the generation up to it
//     unless its last generation stopped there already.
//   {type: 'stats', job, batch, settings}: the statistics' figures of the
//     seeds of an array of settings strings, answered with {type:
//     'stats-figures', job, batch, figures} (stats.js).
// Messages out: {type: 'ready'} once warmed up; {type: 'log', job, at, text}
// (text appended at offset `at` of this generation's log); {type: 'attempts',
// job, attempts}; {type: 'stopped', job, answered, limit} (the generation
// stopped at an item search, after `answered` answers); {type: 'done', job,
// result}; {type: 'searched', job, first, last, found}. The page stops a
// generation by ending the worker.
importScripts('velmora.js');

// One generation of the default options while the visitor chooses: the
// first generation in a worker also pays for the engine's compiling of the
// generator's code and its first use of the tables.
const ready = createVelmora().then((velmora) => {
  const dialog = new velmora.PageDialog();
  velmora.generate(dialog.settings(0), () => {}, () => {}, true, null);
  dialog.delete();
  self.postMessage({ type: 'ready' });
  return velmora;
});

// The generation, settings and answers that the search searchRange answers
// belongs to, or null.
let stoppedAt = null;

self.onmessage = async (event) => {
  const velmora = await ready;
  const message = event.data;
  const { job } = message;
  if (message.type === 'stats') {
    const figures = message.settings.map((settings) => JSON.parse(velmora.statsSeed(settings)));
    self.postMessage({ type: 'stats-figures', job, batch: message.batch, figures });
    return;
  }
  const answers = message.answers ?? null;
  const key = JSON.stringify([message.settings, message.attemptIndex !== false, answers]);
  if (message.type === 'search') {
    if (stoppedAt !== key) {
      const result = velmora.generate(message.settings, () => {}, () => {}, message.attemptIndex !== false, answers);
      stoppedAt = result.search ? key : null;
    }
    const found = stoppedAt === key ? velmora.searchRange(message.first, message.last) : 0;
    self.postMessage({ type: 'searched', job, first: message.first, last: message.last, found });
    return;
  }
  let at = 0;
  const started = performance.now();
  const result = velmora.generate(
    message.settings,
    (text) => {
      self.postMessage({ type: 'log', job, at, text });
      at += text.length;
    },
    (attempts) => self.postMessage({ type: 'attempts', job, attempts }),
    message.attemptIndex !== false,
    answers,
  );
  stoppedAt = result.search ? key : null;
  if (result.search) {
    self.postMessage({ type: 'stopped', job, answered: answers.length, limit: result.limit });
    return;
  }
  result.milliseconds = performance.now() - started;
  self.postMessage({ type: 'done', job, result }, result.files ? result.files.map((f) => f.bytes.buffer) : []);
};
