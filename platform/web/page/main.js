// The page around the program: the pieces below put together on the page's thread. The page
// inlines this and the modules it imports as one script (cmake/page.cmake), after vexoKeys, the
// keys the program takes. Returns what the page's tests may call.
import { bufferSize } from './gestures.js';
import { createMenu } from './menu.js';
import { createStatus } from './status.js';
import { createInput } from './input.js';
import { createLoader, fetchModule } from './loader.js';
import { offerUpdates } from './updates.js';

export const STALL_MS = 8000;  // a download still going after this is said to be slow

export function startPage(win, keys) {
  const doc = win.document;
  const reducedMotion = win.matchMedia('(prefers-reduced-motion: reduce)').matches;
  const status = createStatus(doc, reducedMotion);
  let running = false, ended = false;
  const cannotLoad = () => status.fail('Vexo could not be loaded: the connection or the server failed.', true);
  const failed = () => (running ? status.fail('Vexo stopped after an error.', true) : cannotLoad());

  // ---- The drawing buffer: exactly the canvas's size in device pixels ----
  let devicePixels = null, size = null;
  const measure = () => {
    const r = loader.canvas.getBoundingClientRect();
    const now = bufferSize(r.width, r.height, win.devicePixelRatio || 1, devicePixels);
    size = now.slice(0, 2);
    return now;
  };
  const resize = (entries) => {
    if (ended) return;
    const box = entries?.[0]?.devicePixelContentBoxSize;
    if (box?.[0]) devicePixels = [box[0].inlineSize, box[0].blockSize];
    const was = size, now = measure();
    if (now[0] !== was[0] || now[1] !== was[1]) send(['webReshape', ...now]);
  };
  const observer = new win.ResizeObserver(resize);
  // Browsers without the device-pixel box are told of zoom and of another screen here.
  const watchDensity = () => {
    if (ended) return;
    win.matchMedia(`(resolution: ${win.devicePixelRatio}dppx)`)
      .addEventListener('change', () => { resize(); watchDensity(); }, { once: true });
  };

  // ---- The program ----
  const loader = createLoader(win, doc.getElementById('canvas'), {
    fromProgram,
    failed,
    // Its size and, under reduced motion, the space that holds the die still.
    first: () => [['webReshape', ...measure()], ...(reducedMotion ? [['webKey', ' ', 0, 0, 0]] : [])],
  });
  const send = (message) => loader.send(message);
  const menu = createMenu(doc, (value) => send(['webMenuChoose', value]));
  const openMenu = () => {
    const r = loader.canvas.getBoundingClientRect();
    menu.open(win.scrollX + r.left + r.width / 2, win.scrollY + r.top + r.height / 2);
  };
  const resetView = () => send(['webResetView']);
  const input = createInput({ win, send, menu, keys, openMenu, resetView,
    canvas: () => loader.canvas, size: () => size });

  function fromProgram([name, ...args]) {
    const handle = {
      menuEntry: (label, value) => menu.addEntry(label, value),
      attachMenu: (button) => { menu.button = button; },
      ready,
      started: () => status.started(),
      state: (animating, filled) => status.state(animating, filled),
      ended: end,
      noWebGL: () => loader.fallBack() || status.fail('Vexo needs WebGL, and this browser does not offer it.'),
      failed,
    }[name];
    handle?.(...args);
  }

  // The canvas takes the keys from the start, unless the visitor or a host page has put focus
  // elsewhere, or scrolled it out of view: neither focus nor scroll is taken from them.
  function ready() {
    running = true;
    const canvas = loader.canvas, r = canvas.getBoundingClientRect(), active = doc.activeElement;
    const free = (!active || active === doc.body) && (win.top === win || doc.hasFocus());
    if (free && r.bottom > 0 && r.right > 0 && r.top < win.innerHeight && r.left < win.innerWidth) {
      canvas.focus({ preventScroll: true });
    }
    input.listen();
    try {
      observer.observe(canvas, { box: 'device-pixel-content-box' });
    } catch {
      observer.observe(canvas);
      watchDensity();
    }
  }

  // A page cannot exit: once the program has, nothing of it listens, and its canvas leaves the
  // Tab order.
  function end() {
    ended = true;
    menu.close();
    input.stop();
    observer.disconnect();
    const canvas = loader.canvas;
    canvas.removeAttribute('tabindex');
    canvas.removeAttribute('aria-describedby');
    canvas.setAttribute('aria-label', 'Vexo, ended');
    status.ended();
  }

  const click = (id, action) => doc.getElementById(id).addEventListener('click', action);
  click('pause', () => send(['webKey', ' ', 0, 0, 0]));
  click('outlines', () => send(['webKey', 'Enter', 0, 0, 0]));
  click('reset', resetView);
  click('restart', () => win.location.reload());
  click('retry', () => win.location.reload());

  if (win.location.protocol === 'file:') {
    status.fail('Opened as a file, Vexo cannot load its module: the page must be served over HTTP. ' +
      'From the source, \u201cmake web-run\u201d builds it and serves it on this machine.');
  } else {
    status.watchLoading(STALL_MS);
    const compiled = fetchModule(win, (bytes) => status.loaded(bytes));
    compiled.catch(cannotLoad);
    loader.start(compiled);
    // Kept for use offline: after one visit the page opens with no network. A browser that
    // refuses (a private window, say) runs the page all the same.
    const serviceWorker = win.navigator.serviceWorker;
    if (serviceWorker) {
      win.addEventListener('load', () => serviceWorker.register('sw.js').then(
        (registration) => offerUpdates(registration, { serviceWorker, doc, reload: () => win.location.reload() }),
        () => {}));
    }
  }
  return { openMenu };
}
