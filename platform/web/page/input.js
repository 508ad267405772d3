// The canvas's input, handed to the program as messages: keys and mouse buttons as GLUT takes
// them, and touch: one finger turns, two zoom and pan, a long press opens the menu, a double tap
// resets the view. `page` gives the canvas, the buffer's size, `send` for messages, the menu and
// the key table.
import { keyMessage, opensMenu, browserKeeps } from './keys.js';
import { LONG_PRESS_MS, STILL_PX, toBuffer, distance, midpoint, isDoubleTap } from './gestures.js';

export function createInput(page) {
  const { win, send, menu } = page;
  const at = (point) => {
    const canvas = page.canvas();
    return toBuffer(point, canvas.getBoundingClientRect(), [win.scrollX, win.scrollY], page.size());
  };
  const focusCanvas = () => page.canvas().focus({ preventScroll: true });

  // ---- Touch ----
  const fingers = new Map();  // pointerId -> { pageX, pageY }
  let gesture = null;         // the drag in progress: a turn, a pinch, or the menu's long press
  let lastTap = null, longPress = 0;

  // A finger's drag begins: a first one may become a long press; one left behind by a pinch goes
  // on turning from where it is.
  function startGesture(firstFinger) {
    const points = [...fingers.values()];
    if (points.length === 1) {
      const p = at(points[0]);
      gesture = { kind: 'turn', last: p, start: points[0], time: win.performance.now(), moved: !firstFinger };
      send(['webTurnBegin', ...p]);
      win.clearTimeout(longPress);
      if (firstFinger) {
        longPress = win.setTimeout(() => {
          endGesture();
          gesture = { kind: 'menu' };
          menu.openAwayFrom(points[0].pageX, points[0].pageY);
        }, LONG_PRESS_MS);
      }
    } else if (points.length >= 2) {
      const a = at(points[0]), b = at(points[1]);
      gesture = { kind: 'pinch', distance: distance(a, b) };
      send(['webPinchBegin', ...midpoint(a, b)]);
    }
  }
  function endGesture() {
    win.clearTimeout(longPress);
    if (gesture?.kind === 'turn') send(['webTurnEnd', ...gesture.last]);
    gesture = null;
  }
  function moveGesture() {
    const points = [...fingers.values()];
    if (!gesture || gesture.kind === 'menu') return;
    if (gesture.kind === 'turn') {
      const p = at(points[0]);
      if (Math.hypot(points[0].pageX - gesture.start.pageX, points[0].pageY - gesture.start.pageY) > STILL_PX) {
        gesture.moved = true;
        win.clearTimeout(longPress);
      }
      if (p[0] !== gesture.last[0] || p[1] !== gesture.last[1]) send(['webTurnMove', ...p]);
      gesture.last = p;
      return;
    }
    const a = at(points[0]), b = at(points[1]);
    const ratio = distance(a, b) / gesture.distance;
    if (ratio > 0) send(['webPinchMove', ratio, ...midpoint(a, b)]);
  }
  const touch = {
    pointerdown(event) {
      if (event.pointerType === 'mouse') return;
      event.preventDefault();  // no mouse events made up from the touch
      try {
        page.canvas().setPointerCapture(event.pointerId);
      } catch {
        // a pointer the browser does not know (a made-up event) is not captured
      }
      focusCanvas();
      menu.close();
      if (fingers.size >= 2) return;
      endGesture();
      fingers.set(event.pointerId, { pageX: event.pageX, pageY: event.pageY });
      startGesture(true);
    },
    pointermove(event) {
      if (!fingers.has(event.pointerId)) return;
      event.preventDefault();
      fingers.set(event.pointerId, { pageX: event.pageX, pageY: event.pageY });
      moveGesture();
    },
    pointerup(event) {
      if (!fingers.has(event.pointerId)) return;
      event.preventDefault();
      const wasTap = gesture?.kind === 'turn' && !gesture.moved &&
        win.performance.now() - gesture.time < LONG_PRESS_MS;
      endGesture();
      fingers.delete(event.pointerId);
      if (fingers.size) return startGesture(false);
      if (!wasTap) return;
      const tap = { time: win.performance.now(), pageX: event.pageX, pageY: event.pageY };
      const double = isDoubleTap(lastTap, tap);
      lastTap = double ? null : tap;
      if (double) page.resetView();
    },
  };
  touch.pointercancel = touch.pointerup;

  // ---- Mouse and keys: on the window, in the capture phase, before the canvas sees them ----
  let held = 0, pointer = [0, 0];  // the buttons held since a press on the canvas
  const mouse = (event, down) => {
    pointer = at(event);
    send(['webMouse', event.button, down, ...pointer, event.shiftKey, event.ctrlKey, event.altKey]);
  };
  const listeners = {
    mousedown(event) {
      const canvas = page.canvas();
      if (menu.isOpen && !menu.element.contains(event.target)) menu.close();
      if (event.target !== canvas || event.button > 2) return;
      event.preventDefault();
      focusCanvas();
      if (event.button === menu.button) {
        event.stopImmediatePropagation();  // the menu's button never reaches the program
        menu.open(event.pageX, event.pageY);
        return;
      }
      held |= 1 << event.button;
      mouse(event, 1);
    },
    mouseup(event) {
      if (!(held & (1 << event.button))) return;
      held &= ~(1 << event.button);
      event.preventDefault();
      mouse(event, 0);
    },
    // A drag goes on over the whole window.
    mousemove(event) {
      if (!held) return;
      const p = at(event);
      if (p[0] === pointer[0] && p[1] === pointer[1]) return;
      event.preventDefault();
      pointer = p;
      send(['webMotion', ...p]);
    },
    // Keys reach the program only from the focused canvas, and only those it takes.
    keydown(event) {
      if (menu.isOpen && event.key === 'Escape') {
        event.stopImmediatePropagation();  // Escape closes the menu, it does not quit
        event.preventDefault();
        menu.close();
        page.canvas().focus();
        return;
      }
      if (event.target !== page.canvas() || browserKeeps(event)) return;
      if (opensMenu(event)) {
        event.preventDefault();
        page.openMenu();
        return;
      }
      const message = keyMessage(event, page.keys);
      if (!message) return;
      event.preventDefault();
      send(message);
    },
    contextmenu(event) {
      if (event.target === page.canvas() || menu.element.contains(event.target)) event.preventDefault();
    },
  };

  return {
    listen() {
      for (const [name, listener] of Object.entries(listeners)) win.addEventListener(name, listener, true);
      for (const [type, listener] of Object.entries(touch)) page.canvas().addEventListener(type, listener);
    },
    stop() {
      endGesture();
      for (const [name, listener] of Object.entries(listeners)) win.removeEventListener(name, listener, true);
      for (const [type, listener] of Object.entries(touch)) page.canvas().removeEventListener(type, listener);
    },
  };
}
