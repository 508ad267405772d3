// The page around the program, on the page's own thread: loading and what cannot run, the
// service worker and new builds, the canvas's keys, mouse and touch handed to the program as
// messages (program.js), the right-button menu, buttons for what has no gesture, a drawing
// buffer as sharp as the screen, what a screen reader announces, and the end of the program,
// which a page cannot exit. The program runs on a worker where the browser can draw WebGL there,
// and on this thread otherwise. Inlined into index.html after vexoKeys, the keys the program
// takes (written at build time by tools/key_table.cpp).
var vexoPage = (function () {
  var canvas = document.getElementById('canvas');
  var element = function (id) { return document.getElementById(id); };
  var reducedMotion = matchMedia('(prefers-reduced-motion: reduce)').matches;
  var LONG_PRESS_MS = 500, DOUBLE_TAP_MS = 300, STILL_PX = 10;  // CSS pixels
  var FINGER_PX = 44;  // CSS pixels: a fingertip's width, kept between it and the menu

  // ---- Loading, and what cannot run ------------------------------------------------------

  // What cannot run is said in the page, in place of the loading note.
  function fail(text, retry) {
    clearTimeout(stalled);
    element('loading').hidden = true;
    element('problem-text').textContent = text;
    element('retry').hidden = !retry;
    element('problem').hidden = false;
  }
  function cannotLoad() { fail('Vexo could not be loaded: the connection or the server failed.', true); }
  // A download that stalls is said after a while, with the offer to try again; the note goes
  // once Vexo starts.
  var stalled = setTimeout(function () {
    element('loading').textContent = 'Loading Vexo is taking long: the connection may be slow or stalled.';
    element('retry').hidden = false;
    element('problem').hidden = false;
  }, 8000);
  element('retry').addEventListener('click', function () { location.reload(); });

  // ---- The program, on a worker or on this thread ----------------------------------------

  // Messages for the program: those before it can take them wait here, the first of them its
  // size and, under reduced motion, the space that holds the die still.
  var first = [], post = null, worker = null;
  var onWorker = !!(canvas.transferControlToOffscreen && window.Worker);
  function send(message) {
    if (post) post(message);
    else first.push(message);
  }
  // The canvas is handed to a worker where the browser can; if the worker cannot draw WebGL on
  // it, a fresh canvas takes its place and the program runs here.
  function runOnWorker(compiled) {
    worker = new Worker('vexo.js');
    worker.onmessage = function (event) { fromProgram(event.data); };
    worker.onerror = function (event) {
      event.preventDefault();
      if (running) fail('Vexo stopped after an error.', true);
      else cannotLoad();
    };
    compiled.then(function (module) {
      var offscreen = canvas.transferControlToOffscreen();
      worker.postMessage({ canvas: offscreen, module: module, first: first.splice(0) }, [offscreen]);
      post = function (message) { worker.postMessage(message); };
    }, cannotLoad);
  }
  function runHere(compiled) {
    window.Module = { canvas: canvas, compiled: compiled, first: first, fromProgram: fromProgram,
                      print: console.log.bind(console), printErr: console.warn.bind(console) };
    var script = document.createElement('script');
    script.src = 'vexo.js';
    script.onerror = cannotLoad;
    script.onload = function () { post = Module.send; };
    document.body.appendChild(script);
  }
  function fromProgram(message) {
    var handle = {
      menuEntry: addMenuEntry,
      attachMenu: function (button) { menuButton = button; },
      ready: ready,
      started: started,
      state: state,
      ended: end,
      noWebGL: function () {
        if (!onWorker) return fail('Vexo needs WebGL, and this browser does not offer it.');
        worker.terminate();
        worker = post = null;
        onWorker = false;
        var fresh = canvas.cloneNode(false);
        canvas.replaceWith(fresh);
        canvas = fresh;
        first = [];
        start();
      },
      failed: cannotLoad,
    }[message[0]];
    if (handle) handle.apply(null, message.slice(1));
  }
  function start() {
    first.push(['webReshape'].concat(bufferSize()));
    if (reducedMotion) first.push(['webKey', ' ', 0, 0, 0]);
    if (onWorker) runOnWorker(compiled);
    else runHere(compiled);
  }

  // The canvas takes the keys from the start, unless the visitor or a host page has put focus
  // elsewhere, or scrolled it out of view: neither focus nor scroll is taken from them.
  var running = false;
  function ready() {
    running = true;
    var r = canvas.getBoundingClientRect(), active = document.activeElement;
    var free = (!active || active === document.body) && (window.top === window || document.hasFocus());
    if (free && r.bottom > 0 && r.right > 0 && r.top < innerHeight && r.left < innerWidth) {
      canvas.focus({ preventScroll: true });
    }
    listen();
  }
  function started() {
    clearTimeout(stalled);
    element('problem').hidden = true;
    element('loading').hidden = true;
    document.querySelector('.controls').hidden = false;
  }

  // ---- The menu ---------------------------------------------------------------------------

  var menu = document.createElement('div');
  var menuButton = -1;
  menu.className = 'menu';
  menu.setAttribute('role', 'menu');
  menu.setAttribute('aria-label', 'Vexo');
  menu.hidden = true;
  // Inside the page's landmarks, positioned against the page itself.
  (document.querySelector('main') || document.body).appendChild(menu);
  function addMenuEntry(label, value) {
    var entry = document.createElement('button');
    entry.setAttribute('role', 'menuitem');
    entry.lang = 'fr';  // the program's own words are French
    entry.textContent = label;
    entry.addEventListener('click', function (event) {
      // A tap within a finger's width of the press that opened the menu was not aimed at it.
      if (pressedAt && event.detail &&
          Math.hypot(event.pageX - pressedAt.pageX, event.pageY - pressedAt.pageY) < FINGER_PX) return;
      closeMenu();
      send(['webMenuChoose', value]);
    });
    menu.appendChild(entry);
  }
  function closeMenu() { menu.hidden = true; pressedAt = null; }
  // Opens the menu with its top left at a point of the page, moved back inside the viewport
  // where it would run off it, with its first entry focused.
  function openMenu(pageX, pageY) {
    menu.hidden = false;
    pressedAt = null;
    var right = window.scrollX + document.documentElement.clientWidth - menu.offsetWidth;
    var bottom = window.scrollY + document.documentElement.clientHeight - menu.offsetHeight;
    menu.style.left = Math.max(window.scrollX, Math.min(pageX, right)) + 'px';
    menu.style.top = Math.max(window.scrollY, Math.min(pageY, bottom)) + 'px';
    var entry = menu.querySelector('button');
    if (entry) entry.focus();
  }
  // Under a finger the menu opens a finger's width away from it, so that the finger's next tap
  // lands on no entry it did not aim at: above it, or below, or beside it where an embed is too
  // short, in a smaller menu where nothing else fits, and otherwise as far from it as the view
  // allows. A tap that lands within a finger's width of the press all the same chooses nothing.
  var pressedAt = null;
  function awayFrom(pageX, pageY) {
    var w = menu.offsetWidth, h = menu.offsetHeight;
    var x0 = window.scrollX, y0 = window.scrollY;
    var x1 = x0 + document.documentElement.clientWidth - w, y1 = y0 + document.documentElement.clientHeight - h;
    function clamp(v, lo, hi) { return Math.max(lo, Math.min(v, hi)); }
    var best = null;
    [[pageX - w / 2, pageY - FINGER_PX - h], [pageX - w / 2, pageY + FINGER_PX],
     [pageX + FINGER_PX, pageY - h / 2], [pageX - FINGER_PX - w, pageY - h / 2]].forEach(function (p) {
      var x = clamp(p[0], x0, x1), y = clamp(p[1], y0, y1);
      var gap = Math.hypot(Math.max(x - pageX, 0, pageX - x - w), Math.max(y - pageY, 0, pageY - y - h));
      if (!best || (best.gap < FINGER_PX && gap > best.gap)) best = { x: x, y: y, gap: gap };
    });
    return best;
  }
  function openMenuAwayFrom(pageX, pageY) {
    menu.hidden = false;
    menu.classList.remove('compact');
    var place = awayFrom(pageX, pageY);
    if (place.gap < FINGER_PX) {
      menu.classList.add('compact');
      place = awayFrom(pageX, pageY);
    }
    openMenu(place.x, place.y);
    pressedAt = { pageX: pageX, pageY: pageY };
  }
  function openMenuOnCanvas() {
    var r = canvas.getBoundingClientRect();
    openMenu(window.scrollX + r.left + r.width / 2, window.scrollY + r.top + r.height / 2);
  }
  // Focus that leaves the menu, by Tab or a click elsewhere, closes it.
  menu.addEventListener('focusout', function (event) {
    if (!menu.contains(event.relatedTarget)) closeMenu();
  });

  // ---- The program's state, as the page shows and announces it --------------------------

  var shown = { spinning: null, filled: null };
  function announce(text) { element('status').textContent = text; }
  // The program tells its state at start-up and at every change; the buttons' labels follow it,
  // however it was changed, and a change is announced.
  function state(spinning, filled) {
    var said = [];
    if (spinning !== shown.spinning) said.push(spinning ? 'Spinning' : 'Paused');
    if (filled !== shown.filled) said.push(filled ? 'Faces' : 'Outlines');
    if (shown.spinning !== null && said.length) announce(said.join(', ') + '.');
    shown.spinning = spinning, shown.filled = filled;
    element('pause').textContent = spinning ? 'Pause' : 'Resume';
    element('outlines').textContent = filled ? 'Outlines' : 'Faces';
    element('still').hidden = spinning || !reducedMotion;
  }

  // ---- Keys ------------------------------------------------------------------------------

  // Whether the program takes a key with these modifiers: known here at once, from the table the
  // program wrote, so that the browser keeps its default for every key the program leaves.
  function takes(key, shift, ctrl, alt) {
    return Object.prototype.hasOwnProperty.call(vexoKeys, key) &&
           (vexoKeys[key] >> (shift + 2 * ctrl + 4 * alt) & 1) === 1;
  }
  // The buttons under the canvas: the keys they stand for.
  function pressKey(key) { send(['webKey', key, 0, 0, 0]); }
  // The browser's history and tab keys stay the browser's, though some are the desktop's
  // controls too: Ctrl + Alt + Page Up or Page Down stands in for Ctrl + Page Up or Page Down,
  // Ctrl + Alt + Left or Right turns 10 degrees as Alt + Left or Right do, and Home is Alt + Home.
  function browsers(event) {
    var k = event.key, arrow = k === 'ArrowLeft' || k === 'ArrowRight';
    return (event.altKey && !event.ctrlKey && !event.metaKey && (arrow || k === 'Home')) ||
           (event.metaKey && (arrow || k === '[' || k === ']' || k === 'y' || k === 'Y')) ||
           (event.ctrlKey && !event.altKey && (k === 'PageUp' || k === 'PageDown' || k === 'Tab'));
  }

  // ---- Touch: one finger turns, two zoom and pan, a long press opens the menu -------------

  // Page coordinates to the drawing buffer's pixels, the pixel under the point.
  function at(p) {
    var r = canvas.getBoundingClientRect();
    return [Math.floor((p.pageX - window.scrollX - r.left) * size[0] / r.width),
            Math.floor((p.pageY - window.scrollY - r.top) * size[1] / r.height)];
  }
  var fingers = new Map();  // pointerId -> { pageX, pageY }
  var gesture = null;       // the drag in progress: a turn or a pinch
  var lastTap = null, longPress = 0;

  // A finger's drag begins: a first one may become a long press; one left behind by a pinch
  // goes on turning from where it is.
  function startGesture(firstFinger) {
    var points = Array.from(fingers.values());
    if (points.length === 1) {
      var p = at(points[0]);
      gesture = { kind: 'turn', last: p, start: points[0], time: performance.now(), moved: !firstFinger };
      send(['webTurnBegin', p[0], p[1]]);
      clearTimeout(longPress);
      if (firstFinger) longPress = setTimeout(function () {
        endGesture();
        gesture = { kind: 'menu' };
        openMenuAwayFrom(points[0].pageX, points[0].pageY);
      }, LONG_PRESS_MS);
    } else if (points.length >= 2) {
      var m = middle(points);
      gesture = { kind: 'pinch', distance: spread(points) };
      send(['webPinchBegin', m[0], m[1]]);
    }
  }
  function endGesture() {
    clearTimeout(longPress);
    if (gesture && gesture.kind === 'turn') send(['webTurnEnd', gesture.last[0], gesture.last[1]]);
    gesture = null;
  }
  function spread(points) {
    var a = at(points[0]), b = at(points[1]);
    return Math.hypot(a[0] - b[0], a[1] - b[1]);
  }
  function middle(points) {
    var a = at(points[0]), b = at(points[1]);
    return [Math.round((a[0] + b[0]) / 2), Math.round((a[1] + b[1]) / 2)];
  }
  function moveGesture() {
    var points = Array.from(fingers.values());
    if (!gesture || gesture.kind === 'menu') return;
    if (gesture.kind === 'turn') {
      var p = at(points[0]);
      if (Math.hypot(points[0].pageX - gesture.start.pageX, points[0].pageY - gesture.start.pageY) > STILL_PX) {
        gesture.moved = true;
        clearTimeout(longPress);
      }
      if (p[0] !== gesture.last[0] || p[1] !== gesture.last[1]) send(['webTurnMove', p[0], p[1]]);
      gesture.last = p;
      return;
    }
    var ratio = spread(points) / gesture.distance, m = middle(points);
    if (ratio > 0) send(['webPinchMove', ratio, m[0], m[1]]);
  }
  function tapped(event) {
    var now = performance.now();
    var double = lastTap && now - lastTap.time < DOUBLE_TAP_MS &&
                 Math.hypot(event.pageX - lastTap.pageX, event.pageY - lastTap.pageY) < 3 * STILL_PX;
    lastTap = double ? null : { time: now, pageX: event.pageX, pageY: event.pageY };
    if (double) resetView();
  }
  function resetView() { send(['webResetView']); }

  var touch = {
    pointerdown: function (event) {
      if (event.pointerType === 'mouse') return;
      event.preventDefault();  // no mouse events made up from the touch
      try {
        canvas.setPointerCapture(event.pointerId);
      } catch (e) {}  // a pointer the browser does not know (a made-up event) is not captured
      canvas.focus({ preventScroll: true });
      closeMenu();
      if (fingers.size >= 2) return;
      endGesture();
      fingers.set(event.pointerId, { pageX: event.pageX, pageY: event.pageY });
      startGesture(true);
    },
    pointermove: function (event) {
      if (!fingers.has(event.pointerId)) return;
      event.preventDefault();
      fingers.set(event.pointerId, { pageX: event.pageX, pageY: event.pageY });
      moveGesture();
    },
    pointerup: function (event) {
      if (!fingers.has(event.pointerId)) return;
      event.preventDefault();
      var wasTap = gesture && gesture.kind === 'turn' && !gesture.moved &&
                   performance.now() - gesture.time < LONG_PRESS_MS;
      endGesture();
      fingers.delete(event.pointerId);
      if (fingers.size) startGesture(false);
      else if (wasTap) tapped(event);
    },
  };
  touch.pointercancel = touch.pointerup;

  // ---- Mouse, keys and the menu ----------------------------------------------------------

  // The buttons held since a press on the canvas: their drag goes on over the whole window.
  var held = 0, pointer = [0, 0];
  function mouse(event, down) {
    pointer = at(event);
    send(['webMouse', event.button, down, pointer[0], pointer[1], event.shiftKey, event.ctrlKey, event.altKey]);
  }
  // Listeners on the window, in the capture phase: they see each event before the canvas.
  var listeners = {
    mousedown: function (event) {
      if (!menu.hidden && !menu.contains(event.target)) closeMenu();
      if (event.target !== canvas || event.button > 2) return;
      event.preventDefault();
      canvas.focus({ preventScroll: true });
      if (event.button === menuButton) {
        event.stopImmediatePropagation();  // the menu's button never reaches the program
        return openMenu(event.pageX, event.pageY);
      }
      held |= 1 << event.button;
      mouse(event, 1);
    },
    mouseup: function (event) {
      if (!(held & (1 << event.button))) return;
      held &= ~(1 << event.button);
      event.preventDefault();
      mouse(event, 0);
    },
    mousemove: function (event) {
      if (!held) return;
      var p = at(event);
      if (p[0] === pointer[0] && p[1] === pointer[1]) return;
      event.preventDefault();
      pointer = p;
      send(['webMotion', p[0], p[1]]);
    },
    // Keys reach the program only from the focused canvas, and only those it takes.
    keydown: function (event) {
      if (!menu.hidden && event.key === 'Escape') {
        event.stopImmediatePropagation();  // Escape closes the menu, it does not quit
        event.preventDefault();
        closeMenu();
        canvas.focus();
        return;
      }
      if (event.target !== canvas || browsers(event)) return;
      if (event.key === 'ContextMenu' || (event.key === 'F10' && event.shiftKey)) {
        event.preventDefault();
        return openMenuOnCanvas();
      }
      var page = event.ctrlKey && event.altKey && (event.key === 'PageUp' || event.key === 'PageDown');
      var alt = event.altKey && !page;
      if (!takes(event.key, event.shiftKey, event.ctrlKey, alt)) return;
      event.preventDefault();
      send(['webKey', event.key, event.shiftKey, event.ctrlKey, alt]);
    },
    contextmenu: function (event) {
      if (event.target === canvas || menu.contains(event.target)) event.preventDefault();
    },
  };
  function listen() {
    for (var name in listeners) window.addEventListener(name, listeners[name], true);
    for (var type in touch) canvas.addEventListener(type, touch[type]);
    try {
      observer.observe(canvas, { box: 'device-pixel-content-box' });
    } catch (e) {
      observer.observe(canvas);
      watchDensity();
    }
  }

  // ---- The drawing buffer: exactly the canvas's size in device pixels --------------------

  // The canvas's CSS size times the density, or better the exact device-pixel size where the
  // browser gives it (rounding the product may miss it by a pixel). A device-pixel size that
  // disagrees with the density by more than that comes from an emulated screen, which the
  // browser lays out at the density: the product is right there. With the density, in device
  // pixels per CSS pixel.
  var devicePixels = null, size = [canvas.width, canvas.height];
  function bufferSize() {
    var r = canvas.getBoundingClientRect(), dpr = window.devicePixelRatio || 1;
    var w = Math.round(r.width * dpr), h = Math.round(r.height * dpr);
    if (devicePixels && Math.abs(devicePixels[0] - r.width * dpr) <= 1 &&
        Math.abs(devicePixels[1] - r.height * dpr) <= 1) {
      w = devicePixels[0], h = devicePixels[1];
    }
    size = [Math.max(1, w), Math.max(1, h)];
    return size.concat(r.width ? size[0] / r.width : dpr);
  }
  function resize(entries) {
    if (ended) return;
    var box = entries && entries[0] && entries[0].devicePixelContentBoxSize;
    if (box && box[0]) devicePixels = [box[0].inlineSize, box[0].blockSize];
    var was = size, now = bufferSize();
    if (now[0] !== was[0] || now[1] !== was[1]) send(['webReshape'].concat(now));
  }
  var observer = new ResizeObserver(resize);
  // Browsers without the device-pixel box are told of zoom and of another screen here.
  function watchDensity() {
    if (ended) return;
    matchMedia('(resolution: ' + window.devicePixelRatio + 'dppx)')
      .addEventListener('change', function () { resize(); watchDensity(); }, { once: true });
  }

  // ---- The end ----------------------------------------------------------------------------

  // Nothing of the program listens once it has ended, and its canvas leaves the Tab order.
  var ended = false;
  function end() {
    ended = true;
    closeMenu();
    endGesture();
    observer.disconnect();
    for (var name in listeners) window.removeEventListener(name, listeners[name], true);
    for (var type in touch) canvas.removeEventListener(type, touch[type]);
    canvas.removeAttribute('tabindex');
    canvas.removeAttribute('aria-describedby');
    canvas.setAttribute('aria-label', 'Vexo, ended');
    announce('Vexo has ended.');
    document.querySelector('.controls').hidden = true;
    element('still').hidden = true;
    element('ended').hidden = false;
    element('restart').focus();
  }

  element('pause').addEventListener('click', function () { pressKey(' '); });
  element('outlines').addEventListener('click', function () { pressKey('Enter'); });
  element('reset').addEventListener('click', resetView);
  element('restart').addEventListener('click', function () { location.reload(); });

  // ---- Start ------------------------------------------------------------------------------

  var compiled = null;
  if (location.protocol === 'file:') {
    fail('Opened as a file, Vexo cannot load its module: the page must be served over HTTP. ' +
         'From the source, \u201cmake web-run\u201d builds it and serves it on this machine.');
  } else {
    // Fetched with the page, not once a script has run: the module is the larger download.
    compiled = fetch('vexo.wasm', { credentials: 'same-origin' }).then(function (response) {
      if (!response.ok) throw new Error('vexo.wasm: HTTP ' + response.status);
      return response.arrayBuffer();
    }).then(function (bytes) {
      element('loading').textContent = 'Loading Vexo\u2026 ' + Math.round(bytes.byteLength / 1024) + ' KB';
      return WebAssembly.compile(bytes);
    });
    compiled.catch(cannotLoad);
    start();
    // Kept for use offline: after one visit the page opens with no network. A browser that
    // refuses (a private window, say) runs the page all the same.
    if ('serviceWorker' in navigator) {
      addEventListener('load', function () { navigator.serviceWorker.register('sw.js').then(offerUpdates, function () {}); });
    }
  }

  // A new build waits whole beside the one in use until no page of the old one is open, which
  // a visitor who keeps one tab never brings about: say that it waits, and let them take it.
  // Another tab may load it first: this one is then already served by the new build, whose
  // files it lacks, so its offer stays and simply loads the page again.
  function offerUpdates(registration) {
    var waiting = null, chosen = false;
    function offer(worker) {
      if (!worker || !navigator.serviceWorker.controller) return;  // the first visit's is no update
      waiting = worker;
      element('update').hidden = false;
    }
    // A build may be installing already when the registration comes back.
    function watch(worker) {
      if (!worker) return;
      if (worker.state === 'installed') return offer(worker);
      worker.addEventListener('statechange', function () { if (worker.state === 'installed') offer(worker); });
    }
    watch(registration.waiting);
    watch(registration.installing);
    registration.addEventListener('updatefound', function () { watch(registration.installing); });
    var controller = navigator.serviceWorker.controller;
    navigator.serviceWorker.addEventListener('controllerchange', function () {
      if (chosen) return location.reload();
      if (controller) element('update').hidden = false;
      waiting = null;
    });
    element('take-update').addEventListener('click', function () {
      chosen = true;
      if (waiting && waiting.state === 'installed') waiting.postMessage('take over');
      else location.reload();
    });
  }

  return { openMenu: openMenuOnCanvas };
})();
