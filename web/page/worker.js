// Runs generations and item searches off the page's thread, for the page's
// Generation (generation.js). Messages in:
//   {type: 'generate', job, settings, attemptIndex, answers}: a generation;
//     `answers` null searches the items here, an array takes the deciding
//     attempts of the first item searches from it and stops at the next one.
//   {type: 'search', job, search, first, last}: the first passing attempt of
//     the search the last generation stopped at, among attempts first..last.
//   {type: 'stats', job, batch, settings}: the statistics' figures of the
//     seeds of an array of settings strings, answered with {type:
//     'stats-figures', job, batch, figures} (stats.js).
// Messages out: {type: 'ready'} once warmed up; {type: 'log', job, at, text}
// (text appended at offset `at` of this generation's log); {type: 'attempts',
// job, attempts}; {type: 'stopped', job, answered, limit} (the generation
// stopped at an item search, after `answered` answers); {type: 'done', job,
// result}; {type: 'searched', job, search, first, last, found}. The page
// stops a generation by ending the worker.
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

self.onmessage = async (event) => {
  const velmora = await ready;
  const message = event.data;
  const { job } = message;
  if (message.type === 'stats') {
    const figures = message.settings.map((settings) => JSON.parse(velmora.statsSeed(settings)));
    self.postMessage({ type: 'stats-figures', job, batch: message.batch, figures });
    return;
  }
  if (message.type === 'search') {
    const found = velmora.searchRange(message.first, message.last);
    self.postMessage({ type: 'searched', job, search: message.search, first: message.first, last: message.last, found });
    return;
  }
  const answers = message.answers ?? null;
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
  if (result.search) {
    self.postMessage({ type: 'stopped', job, answered: answers.length, limit: result.limit });
    return;
  }
  result.milliseconds = performance.now() - started;
  self.postMessage({ type: 'done', job, result }, result.files ? result.files.map((f) => f.bytes.buffer) : []);
};
