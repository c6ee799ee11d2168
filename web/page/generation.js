// Generations on a pool of workers, one per core the machine offers. A
// generation whose items come from the attempt index runs in one worker
// alone. One whose items must be searched stops in its worker at each item
// search; every worker then takes the search's attempts chunk by chunk, and
// the page merges their answers in attempt order: the deciding attempt is the
// first passing one of the lowest chunk that has one, once every chunk below
// it is known to have none (or the search's last attempt when none passes).
// The generation then runs again with the deciding attempts found so far, up
// to the next search or to its end. The log is the command line's byte for
// byte: each run of a generation writes the same log up to where the last one
// stopped, and only what lies beyond is shown.
'use strict';

// Attempts between two marks of the item loop's log, the unit of a chunk.
const kAttemptsPerMark = 10001;
// Chunks grow from one block of attempts to this many, so that an early
// pass is found soon and a long search loses little to the messages.
const kLongestChunkBlocks = 16;
// More workers than this cost memory and start-up time for little gain.
const kMostWorkers = 16;

/// The number of workers a page uses by default: one per logical core, from
/// 1 to 16 (2 where the browser does not say).
function defaultWorkerCount() {
  const cores = Number(navigator.hardwareConcurrency) || 2;
  return Math.max(1, Math.min(kMostWorkers, Math.floor(cores)));
}

/// Workers running worker.js, each taking one job at a time from a queue.
/// A job is a message for the worker; the worker's messages of type 'log'
/// and 'attempts' go to the job's `onMessage` as they come, and its final
/// message ('done', 'stopped', 'searched' or 'stats-figures') settles the
/// job's promise.
class WorkerPool {
  constructor(size = defaultWorkerCount()) {
    this.size = size;
    this.queue = [];
    this.start();
  }

  start() {
    let warmed = 0;
    this.ready = new Promise((resolve) => {
      this.workers = Array.from({ length: this.size }, () => {
        const worker = new Worker('worker.js');
        worker.job = null;
        worker.onmessage = (event) => {
          if (event.data.type === 'ready') {
            if (++warmed === this.size) resolve();
            this.next(worker);
          } else {
            this.receive(worker, event.data);
          }
        };
        return worker;
      });
    });
    this.warm = false;
    this.ready.then(() => {
      this.warm = true;
    });
  }

  /// Runs `message` on the next free worker. Returns a promise of the
  /// worker's final message; `onMessage` gets the messages before it. A job
  /// that `cancel` ends never settles.
  run(message, onMessage = () => {}) {
    return new Promise((resolve) => {
      this.queue.push({ message, onMessage, resolve });
      const idle = this.workers.find((w) => w.warmed && w.job === null);
      if (idle) this.next(idle);
    });
  }

  /// Ends every job, queued or running, and starts fresh workers.
  cancel() {
    this.close();
    this.start();
  }

  /// Ends every job and every worker for good.
  close() {
    for (const worker of this.workers) worker.terminate();
    this.queue = [];
  }

  next(worker) {
    worker.warmed = true;
    worker.job = this.queue.shift() ?? null;
    if (worker.job) worker.postMessage(worker.job.message);
  }

  receive(worker, message) {
    const job = worker.job;
    if (!job) return;
    if (message.type === 'log' || message.type === 'attempts') {
      job.onMessage(message);
      return;
    }
    this.next(worker);
    job.resolve(message);
  }
}

/// One generation at a time on a pool of `workers` workers.
class Generation {
  constructor(workers = defaultWorkerCount()) {
    this.pool = new WorkerPool(workers);
    this.job = 0;
    this.run = null;
  }

  /// Starts a generation of `settings`. `handlers.log(text)` gets the text
  /// appended to the log, `handlers.attempts(n)` the item attempts searched
  /// so far, `handlers.done(result)` the generation's result with its time
  /// in `milliseconds`. `attemptIndex` false searches where the attempt
  /// index would answer.
  start(settings, handlers, attemptIndex = true) {
    const run = {
      job: ++this.job,
      settings,
      attemptIndex,
      handlers,
      answers: [],
      logged: 0,
      search: null,
      // A generation's time starts once every worker has warmed up.
      started: null,
    };
    this.run = run;
    this.pool.ready.then(() => {
      if (run.started === null) run.started = performance.now();
    });
    if (this.pool.warm) run.started = performance.now();
    this.generate(run);
  }

  /// Stops the generation; it offers nothing.
  cancel() {
    this.pool.cancel();
    this.run = null;
  }

  /// Ends the workers for good.
  close() {
    this.pool.close();
    this.run = null;
  }

  // Runs the generation up to its next item search, or to its end.
  async generate(run) {
    const { job, settings, attemptIndex, answers } = run;
    const message = await this.pool.run(
      { type: 'generate', job, settings, attemptIndex, answers: [...answers] },
      (m) => this.progress(run, m));
    if (this.run !== run) return;
    if (message.type === 'done') {
      this.run = null;
      message.result.milliseconds = performance.now() - run.started;
      run.handlers.done(message.result);
      return;
    }
    run.search = { limit: message.limit, next: 1, blocks: 1, chunks: [], settled: 0, searched: 0 };
    for (let i = 0; i < this.pool.size; ++i) this.giveChunk(run);
  }

  progress(run, message) {
    if (this.run !== run) return;
    if (message.type === 'attempts') {
      run.handlers.attempts(message.attempts);
      return;
    }
    // Text before what is shown has been shown by an earlier run.
    const end = message.at + message.text.length;
    if (message.at <= run.logged && end > run.logged) {
      run.handlers.log(message.text.slice(run.logged - message.at));
      run.logged = end;
    }
  }

  // Hands the next chunk of the search, if any is left, to the pool. A
  // worker that has not yet reached this search runs the generation up to
  // it first.
  async giveChunk(run) {
    const search = run.search;
    if (search.next > search.limit) return;
    const first = search.next;
    const last = Math.min(search.limit, first + search.blocks * kAttemptsPerMark - 1);
    search.next = last + 1;
    search.blocks = Math.min(search.blocks * 2, kLongestChunkBlocks);
    const chunk = { first, last, found: null };
    search.chunks.push(chunk);
    const { job, settings, attemptIndex, answers } = run;
    const message = await this.pool.run({ type: 'search', job, settings, attemptIndex, answers: [...answers], first, last });
    if (this.run !== run || run.search !== search) return;
    chunk.found = message.found;
    this.settle(run);
  }

  // Decides the search once every chunk up to a pass, or up to the limit,
  // is answered; else keeps the pool busy.
  settle(run) {
    const search = run.search;
    let deciding = 0;
    while (search.settled < search.chunks.length && search.chunks[search.settled].found !== null) {
      const chunk = search.chunks[search.settled];
      if (chunk.found > 0) {
        deciding = chunk.found;
        break;
      }
      search.searched = chunk.last;
      ++search.settled;
    }
    if (deciding === 0 && search.searched === search.limit) deciding = search.limit;
    if (deciding === 0) {
      run.handlers.attempts(search.searched);
      this.giveChunk(run);
      return;
    }
    run.answers.push(deciding);
    run.search = null;
    this.generate(run);
  }
}
