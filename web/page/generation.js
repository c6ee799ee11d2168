// Generations in two workers. A generation whose items come from the attempt
// index runs in one worker alone. One whose items must be searched stops in
// its worker at each item search; both workers then take the search's
// attempts chunk by chunk, and the page merges their answers in attempt
// order: the deciding attempt is the first passing one of the lowest chunk
// that has one, once every chunk below it is known to have none (or the
// search's last attempt when none passes). The generation then runs again
// with the deciding attempts found so far, up to the next search or to its
// end. The log is the command line's byte for byte: each run of a generation
// writes the same log up to where the last one stopped, and only what lies
// beyond is shown.
'use strict';

// Attempts between two marks of the item loop's log, the unit of a chunk.
const kAttemptsPerMark = 10001;
// Chunks grow from one block of attempts to this many, so that an early
// pass is found soon and a long search loses little to the messages.
const kLongestChunkBlocks = 16;

class Generation {
  constructor() {
    this.workers = [];
    this.job = 0;
    this.run = null;
    this.startWorkers();
  }

  startWorkers() {
    this.warmed = 0;
    this.workers = [0, 1].map((index) => {
      const worker = new Worker('worker.js');
      worker.onmessage = (event) => this.receive(index, event.data);
      return worker;
    });
  }

  /// Starts a generation of `settings`. `handlers.log(text)` gets the text
  /// appended to the log, `handlers.attempts(n)` the item attempts searched
  /// so far, `handlers.done(result)` the generation's result with its time
  /// in `milliseconds`. `attemptIndex` false searches where the attempt
  /// index would answer.
  start(settings, handlers, attemptIndex = true) {
    this.run = {
      job: ++this.job,
      settings,
      attemptIndex,
      handlers,
      answers: [],
      logged: 0,
      search: null,
      // A generation's time starts once both workers have warmed up.
      started: this.warmed === 2 ? performance.now() : null,
    };
    this.generateIn(0);
  }

  /// Stops both workers; the generation offers nothing.
  cancel() {
    for (const worker of this.workers) worker.terminate();
    this.run = null;
    this.startWorkers();
  }

  generateIn(index) {
    const { job, settings, attemptIndex, answers } = this.run;
    this.workers[index].postMessage({ type: 'generate', job, settings, attemptIndex, answers: [...answers] });
  }

  receive(index, message) {
    const run = this.run;
    if (message.type === 'ready') {
      if (++this.warmed === 2 && run && run.started === null) run.started = performance.now();
      return;
    }
    if (!run || message.job !== run.job) return;
    if (message.type === 'log') {
      // Text before what is shown has been shown by an earlier run.
      const end = message.at + message.text.length;
      if (message.at <= run.logged && end > run.logged) {
        run.handlers.log(message.text.slice(run.logged - message.at));
        run.logged = end;
      }
    } else if (message.type === 'attempts') {
      run.handlers.attempts(message.attempts);
    } else if (message.type === 'done') {
      this.run = null;
      message.result.milliseconds = performance.now() - run.started;
      run.handlers.done(message.result);
    } else if (message.type === 'stopped') {
      if (message.answered !== run.answers.length) return;
      if (!run.search) {
        run.search = { limit: message.limit, next: 1, blocks: 1, chunks: [], settled: 0, searched: 0 };
        this.generateIn(1 - index);
      }
      this.giveChunk(index);
    } else if (message.type === 'searched') {
      if (!run.search || message.search !== run.answers.length) return;
      this.settle(index, message);
    }
  }

  // Hands worker `index` the next chunk of the search, if any is left.
  giveChunk(index) {
    const search = this.run.search;
    if (search.next > search.limit) return;
    const first = search.next;
    const last = Math.min(search.limit, first + search.blocks * kAttemptsPerMark - 1);
    search.next = last + 1;
    search.blocks = Math.min(search.blocks * 2, kLongestChunkBlocks);
    search.chunks.push({ first, last, found: null });
    this.workers[index].postMessage({ type: 'search', job: this.run.job, search: this.run.answers.length, first, last });
  }

  // Takes a chunk's answer from worker `index`, and decides the search once
  // every chunk up to a pass, or up to the limit, is answered.
  settle(index, message) {
    const run = this.run;
    const search = run.search;
    search.chunks.find((c) => c.first === message.first).found = message.found;
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
      this.giveChunk(index);
      return;
    }
    run.answers.push(deciding);
    run.search = null;
    this.generateIn(index);
  }
}
