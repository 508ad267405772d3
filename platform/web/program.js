// The program's side of the page, put before the compiler's own code in vexo.js. The program runs
// on a worker, drawing on the canvas the page hands over, or where the browser cannot draw WebGL
// there, on the page's own thread; either way it talks with the page (page/) in messages of
// the same form, an array of a name and its arguments:
// - from the page, first the canvas, the compiled module and what to tell the program as soon as
//   it runs (its size, a key); then input, each message named after one of the program's exports
//   (web.h);
// - to the page, through tellPage: 'menuEntry' and 'attachMenu' as GLUT builds the menu, 'ready'
//   once the program runs, 'started' after its first frame, 'state', 'ended' once it exits with
//   status 0 (a quit), and 'noWebGL' (from GLUT, where the canvas gives no WebGL context) or
//   'failed' when it cannot run or exits otherwise.
var tellPage;
(function () {
  var inWorker = typeof document == 'undefined';
  var ready = false, ended = false;
  // Messages that came before the program ran; on the page's thread the page's own list.
  var queue = inWorker ? [] : Module['first'];
  var started = new Promise(function (resolve) {
    if (!inWorker) return resolve({ canvas: Module['canvas'], module: Module['compiled'] });
    onmessage = function (event) {
      onmessage = function (event) { receive(event.data); };
      queue.push.apply(queue, event.data.first);
      resolve(event.data);
    };
  });
  tellPage = function (message) {
    if (message[0] === 'ended' || message[0] === 'noWebGL' || message[0] === 'failed') ended = true;
    if (inWorker) postMessage(message);
    else Module['fromProgram'](message);
  };

  // One message of the page's. The program's exit() unwinds out of the export as an exception:
  // a quit (status 0) ends Vexo, any other status is a failure.
  function call(message) {
    if (ended || !/^web[A-Z]/.test(message[0])) return;
    try {
      if (message[0] === 'webReshape') {
        Module['canvas'].width = message[1];
        Module['canvas'].height = message[2];
      }
      if (message[0] === 'webKey') {
        ccall('webKey', null, ['string', 'number', 'number', 'number'], message.slice(1));
      } else {
        Module['_' + message[0]].apply(null, message.slice(1));
      }
    } catch (e) {
      if (!e || e.name !== 'ExitStatus') throw e;
      Module['_webEnd']();
      tellPage(e.status === 0 ? ['ended'] : ['failed']);
    }
  }
  function receive(message) {
    if (ready) call(message);
    else queue.push(message);
  }
  Module['send'] = receive;

  Module['instantiateWasm'] = function (imports, instantiated) {
    started.then(function (start) {
      Module['canvas'] = start.canvas;
      return start.module;
    }).then(function (module) {
      return WebAssembly.instantiate(module, imports);
    }).then(instantiated, function () { tellPage(['failed']); });
    return {};
  };
  Module['postRun'] = function () {
    if (ended) return;  // it could not start
    ready = true;
    queue.splice(0).forEach(call);
    tellPage(['ready']);
  };
})();
