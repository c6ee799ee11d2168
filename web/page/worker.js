// Runs one generation off the page's thread: the page posts a settings
// string, the worker posts the log as it grows, the attempt count during a
// long search, and the result; `attemptIndex: false` makes the item loop
// search where the attempt index would answer. The page stops a generation
// by ending the worker.
importScripts('velmora.js');

// One generation of the default options while the visitor chooses: the
// first generation in a worker also pays for the engine's compiling of the
// generator's code and its first use of the tables.
const ready = createVelmora().then((velmora) => {
  const dialog = new velmora.PageDialog();
  velmora.generate(dialog.settings(0), () => {}, () => {}, true);
  dialog.delete();
  return velmora;
});

self.onmessage = async (event) => {
  const velmora = await ready;
  const started = performance.now();
  const result = velmora.generate(
    event.data.settings,
    (text) => self.postMessage({ type: 'log', text }),
    (attempts) => self.postMessage({ type: 'attempts', attempts }),
    event.data.attemptIndex !== false,
  );
  result.milliseconds = performance.now() - started;
  self.postMessage({ type: 'done', result }, result.files ? result.files.map((f) => f.bytes.buffer) : []);
};
