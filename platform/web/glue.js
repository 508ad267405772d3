// The page around the program (appended to vexo.js): the canvas's keys and mouse handed to the
// program's GLUT as the desktop's would be, the right-button menu, touch gestures handed to the
// program as the drags they stand for, buttons for what has no gesture, a drawing buffer as
// sharp as the screen, what a screen reader announces, and the end of the program, which a page
// cannot exit. The page reaches the program only through what it exports (web.h); what the
// program knows (which keys it takes, how far a drag zooms, GLUT's numbers) the page asks it
// rather than keeping a copy.
var vexoPage = (function () {
  var canvas = Module['canvas'];
  var LONG_PRESS_MS = 500, DOUBLE_TAP_MS = 300, STILL_PX = 10;  // CSS pixels
  var FINGER_PX = 44;  // CSS pixels: a fingertip's width, kept between it and the menu
  var menu = document.createElement('div');
  var menuButton = -1;
  menu.className = 'menu';
  menu.setAttribute('role', 'menu');
  menu.setAttribute('aria-label', 'Vexo');
  menu.hidden = true;
  // Inside the page's landmarks, positioned against the page itself.
  (document.querySelector('main') || document.body).appendChild(menu);

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
    var first = menu.querySelector('button');
    if (first) first.focus();
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
  var status = document.getElementById('status');
  function announce(text) { if (status) status.textContent = text; }
  // The program tells its state at start-up and at every change; labels follow it, and a
  // change is announced.
  function state(spinning, filled) {
    var said = [];
    if (spinning !== shown.spinning) said.push(spinning ? 'Spinning' : 'Paused');
    if (filled !== shown.filled) said.push(filled ? 'Faces' : 'Outlines');
    if (shown.spinning !== null && said.length) announce(said.join(', ') + '.');
    shown.spinning = spinning, shown.filled = filled;
    if (Module['onState']) Module['onState'](spinning, filled);
  }

  // ---- Keys ------------------------------------------------------------------------------

  // Set while a key is with the program, when the program says it took it. The program reads
  // the key's name as GLUT would: the character typed, whatever the layout.
  var taken = false;
  function pressKey(key, shift, ctrl, alt) {
    taken = false;
    quits(function () {
      Module['ccall']('webKey', null, ['string', 'number', 'number', 'number'], [key, shift, ctrl, alt]);
    });
    return taken;
  }
  // A key or the menu may quit: the program's exit() then unwinds out of its call as an
  // exception, once the page has been told that Vexo has ended.
  function quits(f) {
    try {
      f();
    } catch (e) {
      if (!e || e.name !== 'ExitStatus') throw e;
    }
  }

  // ---- Touch: one finger turns, two zoom and pan, a long press opens the menu -------------

  // Page coordinates to the canvas's drawing-buffer pixels, the pixel under the point.
  function at(p) {
    var r = canvas.getBoundingClientRect();
    return [Math.floor((p.pageX - window.scrollX - r.left) * canvas.width / r.width),
            Math.floor((p.pageY - window.scrollY - r.top) * canvas.height / r.height)];
  }
  var fingers = new Map();  // pointerId -> { pageX, pageY }
  var gesture = null;       // the drag in progress: a turn or a pinch
  var lastTap = null, longPress = 0;

  // A finger's drag begins: a first one may become a long press; one left behind by a pinch
  // goes on turning from where it is.
  function startGesture(first) {
    var points = Array.from(fingers.values());
    if (points.length === 1) {
      var p = at(points[0]);
      gesture = { kind: 'turn', last: p, start: points[0], time: performance.now(), moved: !first };
      _webTurnBegin(p[0], p[1]);
      clearTimeout(longPress);
      if (first) longPress = setTimeout(function () {
        endGesture();
        gesture = { kind: 'menu' };
        openMenuAwayFrom(points[0].pageX, points[0].pageY);
      }, LONG_PRESS_MS);
    } else if (points.length >= 2) {
      var m = middle(points);
      gesture = { kind: 'pinch', distance: spread(points) };
      _webPinchBegin(m[0], m[1]);
    }
  }
  function endGesture() {
    clearTimeout(longPress);
    if (gesture && gesture.kind === 'turn') {
      var p = gesture.last;
      _webTurnEnd(p[0], p[1]);
    }
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
      if (p[0] !== gesture.last[0] || p[1] !== gesture.last[1]) _webTurnMove(p[0], p[1]);
      gesture.last = p;
      return;
    }
    var ratio = spread(points) / gesture.distance, m = middle(points);
    if (ratio > 0) _webPinchMove(ratio, m[0], m[1]);
  }
  function tapped(event) {
    var now = performance.now();
    var double = lastTap && now - lastTap.time < DOUBLE_TAP_MS &&
                 Math.hypot(event.pageX - lastTap.pageX, event.pageY - lastTap.pageY) < 3 * STILL_PX;
    lastTap = double ? null : { time: now, pageX: event.pageX, pageY: event.pageY };
    if (double) resetView();
  }

  var touch = {
    pointerdown: function (event) {
      if (event.pointerType === 'mouse') return;
      event.preventDefault();  // no mouse events made up from the touch
      // Before the program runs there is nobody to tell: no finger is kept either.
      if (!running) return;
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
  for (var type in touch) canvas.addEventListener(type, touch[type]);

  function resetView() { _webResetView(); }

  // ---- Mouse, keys and the menu ----------------------------------------------------------

  // The buttons held since a press on the canvas: their drag goes on over the whole window.
  var held = 0, pointer = [0, 0];
  function mouse(event, down) {
    var p = at(event);
    pointer = p;
    _webMouse(event.button, down, p[0], p[1], event.shiftKey, event.ctrlKey, event.altKey);
  }
  // Listeners on the window, in the capture phase: they see each event before the canvas.
  var listeners = {
    mousedown: function (event) {
      if (!menu.hidden && !menu.contains(event.target)) closeMenu();
      if (event.target !== canvas || event.button > 2) return;
      event.preventDefault();
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
      _webMotion(p[0], p[1]);
    },
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
      if (pressKey(event.key, event.shiftKey, event.ctrlKey, event.altKey && !page) || ended) event.preventDefault();
    },
    contextmenu: function (event) {
      if (event.target === canvas || menu.contains(event.target)) event.preventDefault();
    },
  };
  for (var name in listeners) window.addEventListener(name, listeners[name], true);

  // Keys reach the program only from the focused canvas, and the browser keeps its default for
  // every key the program says it did not take.
  // The browser's history and tab keys stay the browser's, though some are the desktop's
  // controls too: Ctrl + Alt + Page Up or Page Down stands in for Ctrl + Page Up or Page Down,
  // Ctrl + Alt + Left or Right turns 10 degrees as Alt + Left or Right do, and Home is Alt + Home.
  function browsers(event) {
    var k = event.key, arrow = k === 'ArrowLeft' || k === 'ArrowRight';
    return (event.altKey && !event.ctrlKey && !event.metaKey && (arrow || k === 'Home')) ||
           (event.metaKey && (arrow || k === '[' || k === ']' || k === 'y' || k === 'Y')) ||
           (event.ctrlKey && !event.altKey && (k === 'PageUp' || k === 'PageDown' || k === 'Tab'));
  }

  // ---- The drawing buffer: exactly the canvas's size in device pixels --------------------

  // The canvas's CSS size times the density, or better the exact device-pixel size where the
  // browser gives it (rounding the product may miss it by a pixel). A device-pixel size that
  // disagrees with the density by more than that comes from an emulated screen, which the
  // browser lays out at the density: the product is right there.
  var devicePixels = null;
  function resize(entries) {
    if (ended) return;
    var box = entries && entries[0] && entries[0].devicePixelContentBoxSize;
    if (box && box[0]) devicePixels = [box[0].inlineSize, box[0].blockSize];
    var r = canvas.getBoundingClientRect(), dpr = window.devicePixelRatio || 1;
    var w = Math.round(r.width * dpr), h = Math.round(r.height * dpr);
    if (devicePixels && Math.abs(devicePixels[0] - r.width * dpr) <= 1 &&
        Math.abs(devicePixels[1] - r.height * dpr) <= 1) {
      w = devicePixels[0], h = devicePixels[1];
    }
    w = Math.max(1, w), h = Math.max(1, h);
    if (w === canvas.width && h === canvas.height) return;
    canvas.width = w, canvas.height = h;
    _webReshape(w, h, w / r.width);
  }
  var observer = new ResizeObserver(resize);
  // Browsers without the device-pixel box are told of zoom and of another screen here.
  function watchDensity() {
    if (ended) return;
    matchMedia('(resolution: ' + window.devicePixelRatio + 'dppx)')
      .addEventListener('change', function () { resize(); watchDensity(); }, { once: true });
  }

  var ended = false, running = false;
  addOnPostRun(function () {
    running = true;
    resize();
    try {
      observer.observe(canvas, { box: 'device-pixel-content-box' });
    } catch (e) {
      observer.observe(canvas);
      watchDensity();
    }
    // Under reduced motion the die starts still; the page says how to start it.
    if (matchMedia('(prefers-reduced-motion: reduce)').matches) pressKey(' ');
  });

  return {
    addMenuEntry: function (label, value) {
      var entry = document.createElement('button');
      entry.setAttribute('role', 'menuitem');
      entry.lang = 'fr';  // the program's own words are French
      entry.textContent = label;
      entry.addEventListener('click', function (event) {
        // A tap within a finger's width of the press that opened the menu was not aimed at it.
        if (pressedAt && event.detail &&
            Math.hypot(event.pageX - pressedAt.pageX, event.pageY - pressedAt.pageY) < FINGER_PX) return;
        closeMenu();
        quits(function () { _webMenuChoose(value); });
      });
      menu.appendChild(entry);
    },
    attachMenu: function (button) { menuButton = button; },
    // Right after the first frame is drawn, in the same animation frame.
    firstFrame: function () { if (Module['onStarted']) Module['onStarted'](); },
    state: state,
    keyTaken: function () { taken = true; },
    // Nothing of the program listens once it has ended, and its canvas leaves the Tab order.
    ended: function () {
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
      if (Module['onEnded']) Module['onEnded']();
    },
    // The buttons under the canvas: the keys they stand for.
    pause: function () { pressKey(' '); },
    outlines: function () { pressKey('Enter'); },
    resetView: resetView,
    openMenu: openMenuOnCanvas,
  };
})();
