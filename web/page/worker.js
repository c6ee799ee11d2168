// Runs one generation off the page's thread: the page posts a settings
// string, the worker posts the log as it grows, the attempt count during a
// long search, and the result; `attemptIndex: false` makes the item loop
// search where the attempt index would answer. The page stops a generation
// by ending the worker.
importScripts('velmora.js');

const ready = createVelmora();

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
