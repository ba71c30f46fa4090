import { analysesOf, serve } from './analyses.js';

// Runs analysis jobs away from typing: in a worker holding its own copy of the core (made
// from the factory's source, the only way a page opened from disk may start one), else in
// the page, one section per task. One job at a time; a newer job replaces the waiting one
// and stops the running one at its next section. apply({id, section, result}) or ({id, done}).
export function scheduler(vyr, apply) {
  let running = null, waiting = null, worker = null;
  const finished = id => {
    if (running === id) running = null;
    if (waiting && !running) start(waiting);
  };
  const receive = message => {
    if (message.done) finished(message.id);
    else apply(message);
  };
  try {
    const source = `var _scriptDir;\nvar createVyr = ${createVyr};\n(${serve})(${analysesOf});`;
    worker = new Worker(URL.createObjectURL(new Blob([source], { type: 'text/javascript' })));
    worker.onmessage = ({ data }) => receive(data);
  } catch {
    worker = null;  // the page's own copy does the work
  }
  let latest = 0;
  async function inPage(job) {
    latest = job.id;
    for (const [section, result] of analysesOf(vyr, job)) {
      await new Promise(resolve => setTimeout(resolve));
      if (latest !== job.id) break;
      receive({ id: job.id, section, result });
    }
    receive({ id: job.id, done: true });
  }
  function start(job) {
    waiting = null;
    running = job.id;
    if (worker) worker.postMessage(job);
    else inPage(job);
  }
  return {
    run(job) {
      if (!running) return start(job);
      if (!waiting) {
        if (worker) worker.postMessage({ cancel: true });
        else latest = 0;
      }
      waiting = job;
    },
    // The player's spell list, for the worker's copy of the core, in the form the page read it.
    list(bytes, form) {
      if (worker) worker.postMessage({ list: bytes, form });
    },
  };
}
