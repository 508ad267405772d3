// The browsers the page is driven in, by its tests and `make bench`: Debian's Chromium headless
// (puppeteer-core), Firefox and WebKit, driven alike, and measures of what the canvas shows.
import { spawn } from 'node:child_process';
import { createServer } from 'node:http';
import { mkdirSync, mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import puppeteer from 'puppeteer-core';

// In the page: the program runs on the page's thread, as where the browser cannot hand a canvas
// to a worker.
const noOffscreen = () => { delete HTMLCanvasElement.prototype.transferControlToOffscreen; };

// Debian's Chromium as root on a machine with no GPU and no network beyond this one.
export const chromiumFlags = ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
  '--disable-background-networking', '--disable-component-update', '--disable-sync', '--no-first-run',
  '--disable-quic'];

export function launch(args = []) {
  return puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: [...chromiumFlags, ...args],
  });
}

// Opens the page in Chromium and waits for its first frame (with `started` false, for the
// document only). `viewport` adds to an 800 x 600 one (deviceScaleFactor, hasTouch, isMobile);
// `reducedMotion` asks for it, and the die then starts still, straight on; `hold` holds back the
// requests it matches (see below); `here` runs the program on the page's own thread, as in a
// browser that cannot draw WebGL on a worker, and `noWebGL` as in one with no WebGL at all. Every
// console message and page error is collected in page.errors: a normal load and use print none.
export async function open(browser, url, { viewport = {}, reducedMotion = false, started = true,
                                          hold = null, here = false, noWebGL = false } = {}) {
  const page = await browser.newPage();
  page.errors = [];
  page.on('console', (m) => page.errors.push(`${m.type()}: ${m.text()}`));
  page.on('pageerror', (e) => page.errors.push(`uncaught: ${e}`));
  if (hold) {
    // Requests whose address matches `hold` wait in page.held until the test answers them;
    // page.holding = false lets everything through again.
    page.held = [];
    page.holding = true;
    await page.setRequestInterception(true);
    page.on('request', (r) => page.holding && (hold.test(r.url()) ? page.held.push(r) : r.continue()));
  }
  if (reducedMotion) await page.emulateMediaFeatures([{ name: 'prefers-reduced-motion', value: 'reduce' }]);
  if (here || noWebGL) await page.evaluateOnNewDocument(noOffscreen);
  if (noWebGL) await page.evaluateOnNewDocument(() => { HTMLCanvasElement.prototype.getContext = () => null; });
  await page.setViewport({ width: 800, height: 600, ...viewport });
  await page.goto(url, { waitUntil: hold ? 'domcontentloaded' : 'load' });
  if (!started) return page;
  await page.waitForFunction(() => document.querySelector('#loading').hidden);
  await frames(page);
  return page;
}

// Waits for the browser to draw `n` more frames.
export function frames(page, n = 3) {
  return page.evaluate((n) => new Promise((resolve) => {
    const step = () => (n-- > 0 ? requestAnimationFrame(step) : resolve());
    step();
  }), n);
}

// The canvas as the user sees it: { w, h, rgb } with 3 bytes a pixel, row by row, and the png.
export async function shot(page) {
  const png = await (await page.$('#canvas')).screenshot({ encoding: 'base64' });
  return { ...await decode((f, ...a) => page.evaluate(f, ...a), png), png };
}

// A PNG's pixels, decoded in the page by `evaluate`, within `box` (device pixels) if given.
async function decode(evaluate, png, box = null) {
  const pixels = await evaluate(async (png, box) => {
    const image = new Image();
    image.src = 'data:image/png;base64,' + png;
    await image.decode();
    const [x, y, w, h] = box || [0, 0, image.width, image.height];
    const c = document.createElement('canvas');
    c.width = w, c.height = h;
    const g = c.getContext('2d');
    g.drawImage(image, -x, -y);
    const rgba = g.getImageData(0, 0, w, h).data;
    let s = '';
    for (let i = 0; i < rgba.length; i += 4) s += String.fromCharCode(rgba[i], rgba[i + 1], rgba[i + 2]);
    return { w, h, rgb: btoa(s) };
  }, png, box);
  return { w: pixels.w, h: pixels.h, rgb: Buffer.from(pixels.rgb, 'base64') };
}

export const pixel = (s, x, y) => [...s.rgb.subarray((y * s.w + x) * 3, (y * s.w + x) * 3 + 3)];

// The pixels that are neither the grey background (the top left pixel's) nor the page's white (a
// screenshot of a canvas at a fractional density may take in a sliver of the page): how many, and
// their centroid.
export function dieIn(s) {
  let area = 0, cx = 0, cy = 0;
  const grey = s.rgb[0];
  for (let y = 0; y < s.h; ++y) {
    for (let x = 0; x < s.w; ++x) {
      const p = pixel(s, x, y);
      if (p.some((v) => Math.abs(v - grey) > 3) && !p.every((v) => v === 255)) ++area, cx += x, cy += y;
    }
  }
  return { area, cx: area ? cx / area : 0, cy: area ? cy / area : 0 };
}

// A left-button drag on the canvas from (x, y) by (dx, dy) in five moves, `keys` held.
export async function drag(page, keys, x, y, dx, dy) {
  const box = await (await page.$('#canvas')).boundingBox();
  for (const k of keys) await page.keyboard.down(k);
  await page.mouse.move(box.x + x, box.y + y);
  await page.mouse.down();
  for (let i = 1; i <= 5; ++i) await page.mouse.move(box.x + x + dx * i / 5, box.y + y + dy * i / 5);
  await page.mouse.up();
  for (const k of [...keys].reverse()) await page.keyboard.up(k);
  await frames(page);
}

// Fingers on the canvas through the DevTools protocol: touch(page)(type, [[x, y], ...]) with
// type touchStart, touchMove or touchEnd and points in the canvas's CSS pixels; the canvas of
// `frame` when the page embeds Vexo.
export async function touch(page, frame = page) {
  const cdp = await page.createCDPSession();
  const box = await (await frame.$('#canvas')).boundingBox();
  return (type, points) => cdp.send('Input.dispatchTouchEvent', {
    type, touchPoints: points.map(([x, y], id) => ({ x: box.x + x, y: box.y + y, id })),
  });
}

// ---- The page in three engines, driven alike -------------------------------------------------

// Chromium and Firefox through puppeteer, WebKitGTK (which stands in for Safari) through its
// WebDriver; Firefox and WebKit draw WebGL only with a display, so they need one (DISPLAY). Every
// page of an engine asks for reduced motion, so that the die starts still, straight on, as the
// desktop's frames tool draws it. `here` runs the program on the page's own thread: in Chromium
// by taking the means away, in WebKit by leaving WebGL on workers off, as it is by default.
export const engineNames = ['chromium', 'firefox', 'webkit'];

// A page of Vexo, whatever drives it, in CSS pixels of its canvas: eval(f, ...args) runs f in the
// page; waitFor(f, ...args) until f is true there; press('x'), press('Ctrl+Alt+PageDown');
// drag(['Ctrl'], x, y, dx, dy); click(selector); rightClick(x, y); shot() of the canvas; errors
// that the page printed or threw, where the engine tells them.
class Page {
  constructor(drive) { Object.assign(this, drive); }
  async waitFor(f, ...args) {
    for (let i = 0; i < 200; ++i) {
      // (A page that loads again meanwhile answers nothing.)
      if (await this.eval(f, ...args).catch(() => false)) return;
      await new Promise((r) => setTimeout(r, 50));
    }
    throw new Error(`waited in vain for ${f}`);
  }
  started() { return this.waitFor(() => document.querySelector('#loading').hidden); }
  // Loads the page again, by reload() or as `how` does (a click, say), and waits for the new one
  // to start, not taking the old one for it.
  async loadAgain(how = () => this.reload()) {
    await this.eval(() => { window.vexoTestOldPage = true; });
    await how();
    await this.waitFor(() => !window.vexoTestOldPage && document.querySelector('#loading').hidden);
  }
  canvasBox() {
    return this.eval(() => {
      const r = document.querySelector('#canvas').getBoundingClientRect();
      return { x: r.left, y: r.top, width: r.width, height: r.height };
    });
  }
  async drag(keys, x, y, dx, dy) {
    const box = await this.canvasBox();
    const path = [1, 2, 3, 4, 5].map((i) => [box.x + x + dx * i / 5, box.y + y + dy * i / 5]);
    await this.pointer(keys, [box.x + x, box.y + y], path);
  }
}

const puppeteerKeys = { Ctrl: 'Control' };
// A page that puppeteer drives, as a Page.
export function drive(page, browser) {
  return new Page({
    errors: page.errors,
    eval: (f, ...args) => page.evaluate(f, ...args),
    async press(combo) {
      const keys = combo === '+' ? ['+'] : combo.split('+').map((k) => puppeteerKeys[k] || k);
      for (const k of keys.slice(0, -1)) await page.keyboard.down(k);
      await page.keyboard.press(keys.at(-1));
      for (const k of keys.slice(0, -1).reverse()) await page.keyboard.up(k);
    },
    async pointer(keys, [x, y], path) {
      for (const k of keys) await page.keyboard.down(puppeteerKeys[k] || k);
      await page.mouse.move(x, y);
      await page.mouse.down();
      for (const [px, py] of path) await page.mouse.move(px, py);
      await page.mouse.up();
      for (const k of [...keys].reverse()) await page.keyboard.up(puppeteerKeys[k] || k);
    },
    click: (selector) => page.click(selector),
    async rightClick(x, y) {
      const box = await this.canvasBox();
      await page.mouse.click(box.x + x, box.y + y, { button: 'right' });
    },
    shot: () => shot(page),
    reload: () => page.reload(),
    close: () => page.close(),
    raw: page,
    browser,
  });
}

async function puppeteerEngine(name, here) {
  const browser = name === 'firefox'
    ? await puppeteer.launch({ browser: 'firefox', executablePath: process.env.FIREFOX || '/usr/bin/firefox-esr',
                               headless: false, extraPrefsFirefox: { 'ui.prefersReducedMotion': 1 } })
    : await launch();
  return {
    name,
    async open(url, { started = true } = {}) {
      const page = await browser.newPage();
      page.errors = [];
      page.on('console', (m) => page.errors.push(`${m.type()}: ${m.text()}`));
      page.on('pageerror', (e) => page.errors.push(`uncaught: ${e}`));
      if (name === 'chromium') await page.emulateMediaFeatures([{ name: 'prefers-reduced-motion', value: 'reduce' }]);
      if (here) await page.evaluateOnNewDocument(noOffscreen);
      await page.setViewport({ width: 800, height: 600 });
      await page.goto(url);
      const p = drive(page, browser);
      if (started) await p.started();
      return p;
    },
    close: () => browser.close(),
  };
}

// WebKitGTK's MiniBrowser through WebKitWebDriver on a free port, with GTK's animations off for
// reduced motion. One page at a time: the browser's own window. WEBKIT_LOG=1 shows what WebKit says.
async function webkitEngine(here) {
  const { Builder, Key, Origin } = (await import('selenium-webdriver')).default;
  const config = mkdtempSync(join(tmpdir(), 'vexo-webkit-'));
  mkdirSync(join(config, 'gtk-3.0'));
  writeFileSync(join(config, 'gtk-3.0', 'settings.ini'), '[Settings]\ngtk-enable-animations=0\n');
  const port = await new Promise((resolve) => {
    const probe = createServer().listen(0, '127.0.0.1', () => {
      const p = probe.address().port;
      probe.close(() => resolve(p));
    });
  });
  const service = spawn(process.env.WEBKIT_DRIVER || 'WebKitWebDriver', [`--port=${port}`], {
    stdio: process.env.WEBKIT_LOG ? ['ignore', 'inherit', 'inherit'] : 'ignore',
    env: { ...process.env, XDG_CONFIG_HOME: config },
  });
  let driver = null;
  for (let i = 0; i < 200 && !driver; ++i) {
    driver = await new Builder().usingServer(`http://127.0.0.1:${port}`).withCapabilities({
      browserName: 'MiniBrowser',
      'webkitgtk:browserOptions': {
        binary: process.env.WEBKIT_BROWSER || '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser',
        args: ['--automation', ...(here ? [] : ['--features=+AllowWebGLInWorkers'])],
      },
    }).build().catch(() => new Promise((r) => setTimeout(() => r(null), 50)));
  }
  if (!driver) throw new Error('WebKitWebDriver never answered');
  await driver.manage().window().setRect({ width: 800, height: 600 });
  const keys = { Shift: Key.SHIFT, Ctrl: Key.CONTROL, Alt: Key.ALT, Enter: Key.ENTER, Escape: Key.ESCAPE,
                 Tab: Key.TAB, Home: Key.HOME, PageUp: Key.PAGE_UP, PageDown: Key.PAGE_DOWN,
                 ArrowLeft: Key.ARROW_LEFT, ArrowUp: Key.ARROW_UP, ArrowRight: Key.ARROW_RIGHT,
                 ArrowDown: Key.ARROW_DOWN };
  const key = (k) => keys[k] || k;
  const evaluate = (f, ...args) => driver.executeAsyncScript(
    `const done = arguments[arguments.length - 1];
     Promise.resolve((${f}).apply(null, Array.from(arguments).slice(0, -1)))
       .then(done, (e) => done({ thrown: String(e) }));`, ...args);
  return {
    name: 'webkit',
    async open(url, { started = true } = {}) {
      await driver.get(url);
      const p = new Page({
        errors: [],
        eval: evaluate,
        async press(combo) {
          const parts = combo === '+' ? ['+'] : combo.split('+');
          let a = driver.actions();
          for (const k of parts.slice(0, -1)) a = a.keyDown(key(k));
          a = a.keyDown(key(parts.at(-1))).keyUp(key(parts.at(-1)));
          for (const k of parts.slice(0, -1).reverse()) a = a.keyUp(key(k));
          await a.perform();
        },
        async pointer(mods, [x, y], path) {
          let a = driver.actions();
          for (const k of mods) a = a.keyDown(key(k));
          a = a.move({ origin: Origin.VIEWPORT, x: Math.round(x), y: Math.round(y) }).press();
          for (const [px, py] of path) a = a.move({ origin: Origin.VIEWPORT, x: Math.round(px), y: Math.round(py) });
          a = a.release();
          for (const k of [...mods].reverse()) a = a.keyUp(key(k));
          await a.perform();
        },
        click: async (selector) => (await driver.findElement({ css: selector })).click(),
        async rightClick(x, y) {
          const box = await this.canvasBox();
          await driver.actions().move({ origin: Origin.VIEWPORT, x: Math.round(box.x + x), y: Math.round(box.y + y) })
            .contextClick().perform();
        },
        // Its element screenshots come back black: the canvas is cut out of the page's.
        async shot() {
          const box = await this.canvasBox(), dpr = await evaluate(() => devicePixelRatio);
          const png = await driver.takeScreenshot();
          return decode(evaluate, png, [box.x, box.y, box.width, box.height].map((v) => Math.round(v * dpr)));
        },
        reload: () => driver.navigate().refresh(),
        close: async () => {},
      });
      if (started) await p.started();
      return p;
    },
    async close() {
      await driver.quit().catch(() => {});
      service.kill();
      rmSync(config, { recursive: true, force: true });
    },
  };
}

// Launches an engine by name; every page it opens asks for reduced motion.
export function engine(name, { here = false } = {}) {
  return name === 'webkit' ? webkitEngine(here) : puppeteerEngine(name, here);
}
