// Loading the program and the bridge to it. The program (vexo.js with its module) runs on a
// worker, drawing on the canvas handed over to it, where the browser can; if the worker cannot
// draw WebGL there, a fresh canvas takes the old one's place and the program runs on the page's
// thread. Either way the two talk in messages of one form (program.js): an array of a name and
// its arguments. `hooks`: fromProgram(message), failed(), and first(), the messages the program
// must have before any other (its size, say).
export function createLoader(win, canvas, hooks) {
  const doc = win.document;
  let first = [], post = null, worker = null, compiled = null;
  let onWorker = !!(canvas.transferControlToOffscreen && win.Worker);

  function runOnWorker() {
    worker = new win.Worker('vexo.js');
    worker.onmessage = (event) => hooks.fromProgram(event.data);
    worker.onerror = (event) => {
      event.preventDefault();
      hooks.failed();
    };
    compiled.then((module) => {
      const offscreen = canvas.transferControlToOffscreen();
      worker.postMessage({ canvas: offscreen, module, first: first.splice(0) }, [offscreen]);
      post = (message) => worker.postMessage(message);
    }, () => {});  // said where `compiled` is made
  }
  function runHere() {
    win.Module = { canvas, compiled, first, fromProgram: hooks.fromProgram,
      print: win.console.log.bind(win.console), printErr: win.console.warn.bind(win.console) };
    const script = doc.createElement('script');
    script.src = 'vexo.js';
    script.onerror = () => hooks.failed();
    script.onload = () => { post = win.Module.send; };
    doc.body.appendChild(script);
  }

  return {
    get canvas() { return canvas; },
    get onWorker() { return onWorker; },
    send(message) {
      if (post) post(message);
      else first.push(message);
    },
    // Starts the program with the module, a promise of WebAssembly.Module.
    start(module) {
      compiled = module;
      first.push(...hooks.first());
      if (onWorker) runOnWorker();
      else runHere();
    },
    // The worker cannot draw WebGL: the program starts again on this thread, on a fresh canvas.
    // False where it already ran here.
    fallBack() {
      if (!onWorker) return false;
      worker.terminate();
      worker = post = null;
      onWorker = false;
      const fresh = canvas.cloneNode(false);
      canvas.replaceWith(fresh);
      canvas = fresh;
      first = [];
      this.start(compiled);
      return true;
    },
  };
}

// The module, fetched with the page rather than once a script has run, for it is the larger
// download; `loaded(bytes)` is told its size.
export function fetchModule(win, loaded) {
  return win.fetch('vexo.wasm', { credentials: 'same-origin' }).then((response) => {
    if (!response.ok) throw new Error(`vexo.wasm: HTTP ${response.status}`);
    return response.arrayBuffer();
  }).then((bytes) => {
    loaded(bytes.byteLength);
    return win.WebAssembly.compile(bytes);
  });
}
