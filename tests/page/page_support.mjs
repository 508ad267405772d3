// The page's script in Node.js: the page's markup in a DOM (jsdom), with stand-ins for what a DOM
// lacks: layout (the canvas's box), media queries, ResizeObserver, fetch and WebAssembly, a
// worker and the service worker. Nothing is drawn; the program is played by the test, through
// the messages the page sends it and those it tells the page.
import { readFileSync } from 'node:fs';
import { JSDOM, VirtualConsole } from 'jsdom';
import { startPage } from '../../platform/web/page/main.js';

const markup = readFileSync(new URL('../../platform/web/index.html', import.meta.url), 'utf8')
  .replace(/<script>[\s\S]*<\/script>/, '');

// Every page's window, closed at the end with its timers; and a console that leaves out what the
// DOM does not implement (a page loaded again).
const windows = [];
export const closePages = () => windows.splice(0).forEach((win) => win.close());
const virtualConsole = new VirtualConsole().sendTo(console, { omitJSDOMErrors: true });

// The keys a program might take, in the table's form: bit 1 << (shift + 2 ctrl + 4 alt).
export const keys = { ' ': 1, x: 1, Home: 1 | 16, PageUp: 255, Escape: 255 };

// A page started with `options`: reducedMotion, worker (false: no OffscreenCanvas), box (the
// canvas's CSS size), dpr, embedded (in a frame whose document has the focus or not: true or
// 'unfocused'), focused (an element id to focus first), file (opened as a file), fetchFails,
// serviceWorker (a stand-in). Resolves once the module is handed over.
export async function openPage(options = {}) {
  const { reducedMotion = false, worker = true, box = [250, 250], dpr = 1, embedded = false } = options;
  const url = options.file ? 'file:///vexo/index.html' : 'http://localhost/';
  // Embedded, the page is a frame's document.
  const dom = new JSDOM(embedded ? '<!doctype html><iframe></iframe>' : markup, { url, virtualConsole });
  const win = embedded ? dom.window.frames[0] : dom.window;
  if (embedded) win.document.write(markup);
  const doc = win.document;
  windows.push(dom.window);
  const sent = [], workers = [], observed = [];
  let rect = { left: 8, top: 40, width: box[0], height: box[1] };
  win.HTMLCanvasElement.prototype.getBoundingClientRect = () =>
    ({ ...rect, right: rect.left + rect.width, bottom: rect.top + rect.height });
  win.devicePixelRatio = dpr;
  win.matchMedia = (query) => ({ matches: reducedMotion && query.includes('reduced-motion'), addEventListener() {} });
  win.ResizeObserver = class {
    constructor(callback) { this.callback = callback; observed.push(this); }
    observe() {}
    disconnect() { this.callback = () => {}; }
  };
  win.fetch = async () => (options.fetchFails ? { ok: false, status: 404 }
    : { ok: true, arrayBuffer: async () => new ArrayBuffer(20480) });
  win.WebAssembly = { compile: async () => 'module' };
  if (worker) {
    win.HTMLCanvasElement.prototype.transferControlToOffscreen = () => 'offscreen';
    win.Worker = class {
      constructor(url) { Object.assign(this, { url, posted: [] }); workers.push(this); }
      postMessage(message) { this.posted.push(message); if (Array.isArray(message)) sent.push(message); }
      terminate() { this.terminated = true; }
    };
  }
  if (embedded) doc.hasFocus = () => embedded !== 'unfocused';
  if (options.serviceWorker) Object.defineProperty(win.navigator, 'serviceWorker', { value: options.serviceWorker });
  if (options.focused) doc.getElementById(options.focused).focus();
  startPage(win, keys);
  await new Promise((resolve) => setTimeout(resolve, 0));
  const canvas = () => doc.getElementById('canvas');
  return {
    win, doc, sent, workers, canvas,
    text: (id) => doc.getElementById(id).textContent,
    shown: (selector) => !doc.querySelector(selector).hidden,
    // The program's words to the page, as a worker's message or on the page's thread.
    tell: (...message) => (win.Module ? win.Module.fromProgram(message) : workers.at(-1).onmessage({ data: message })),
    // The program's script loaded on the page's thread: what the page sends goes to `sent`.
    loadHere() {
      win.Module.send = (message) => sent.push(message);
      doc.querySelector('script[src="vexo.js"]').onload();
    },
    // The program running, its menu built, as GLUT builds it.
    async run() {
      for (const m of [['menuEntry', 'Quitter', 0], ['attachMenu', 2], ['ready'], ['state', true, true], ['started']]) {
        this.tell(...m);
      }
      sent.length = 0;
    },
    resize(width, height, entries) {
      rect = { ...rect, width, height };
      observed.forEach((o) => o.callback(entries));
    },
    // An event of `type` on `target` with `init`; pointer events as plain events with their fields.
    fire(target, type, init = {}) {
      const Kind = type.startsWith('key') ? win.KeyboardEvent : win.MouseEvent;
      const event = new Kind(type, { bubbles: true, cancelable: true, ...init });
      for (const name of ['pointerId', 'pointerType']) {
        if (name in init) Object.defineProperty(event, name, { value: init[name] });
      }
      target.dispatchEvent(event);
      return event;
    },
  };
}
