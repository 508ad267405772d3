// Shared by the page's tests, `make web-run` and `make bench`: a static server for the built
// page on 127.0.0.1, Debian's Chromium driven headless, and measures of what the canvas shows.
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { readFileSync } from 'node:fs';
import { extname, join, normalize } from 'node:path';
import { gzipSync } from 'node:zlib';
import puppeteer from 'puppeteer-core';

const types = { '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.wasm': 'application/wasm',
                '.png': 'image/png', '.webmanifest': 'application/manifest+json', '.json': 'application/json' };

// Serves the files of `root` on a free port of 127.0.0.1 as a static host does: by type,
// gzipped for a client that takes it, 404 for what is not there. Resolves to { url, close,
// replaced, sent }: a path set in `replaced` is served with the text given there instead (a new
// build, say); `sent` maps each path to the bytes sent for it so far.
export async function serve(root) {
  const replaced = {}, sent = {};
  const server = createServer(async (request, response) => {
    const path = normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname));
    try {
      const file = join(root, path.endsWith('/') ? join(path, 'index.html') : path);
      let body = path in replaced ? Buffer.from(replaced[path]) : await readFile(file);
      const headers = { 'Content-Type': types[extname(file)] || 'application/octet-stream' };
      if (/\bgzip\b/.test(request.headers['accept-encoding'] || '') && !file.endsWith('.png')) {
        body = gzipSync(body, { level: 9 });
        headers['Content-Encoding'] = 'gzip';
      }
      response.writeHead(200, headers);
      response.end(body);
      sent[path] = (sent[path] || 0) + body.length;
    } catch {
      response.writeHead(404).end();
    }
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return { url: `http://127.0.0.1:${server.address().port}/`, close: () => server.close(), replaced, sent };
}

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

// Opens the page and waits for its first frame (with `started` false, for the document only).
// With `holdTimers`, GLUT's idle calls (the page's only timer) are held back, so the picture is
// the die as it starts, straight on, until releaseTimers(page). `viewport` adds to an
// 800 x 600 one (deviceScaleFactor, hasTouch, isMobile); `reducedMotion` asks for it; `hold`
// holds back the requests it matches (see below). Every console message and page error is collected
// in page.errors: a normal load and use print none.
export async function open(browser, url, { holdTimers = false, viewport = {}, reducedMotion = false,
                                          started = true, hold = null } = {}) {
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
  if (holdTimers) {
    await page.evaluateOnNewDocument(() => {
      const held = [], setTimeout = window.setTimeout;
      window.setTimeout = (f, ms) => held.push([f, ms]);
      window.releaseTimers = () => {
        window.setTimeout = setTimeout;
        for (const [f, ms] of held) setTimeout(f, ms);
      };
    });
  }
  await page.setViewport({ width: 800, height: 600, ...viewport });
  await page.goto(url, { waitUntil: hold ? 'domcontentloaded' : 'load' });
  if (!started) return page;
  await page.waitForFunction(() => document.querySelector('#loading').hidden);
  await frames(page);
  return page;
}

export const releaseTimers = (page) => page.evaluate(() => window.releaseTimers());

// Waits for the browser to draw `n` more frames.
export function frames(page, n = 3) {
  return page.evaluate((n) => new Promise((resolve) => {
    const step = () => (n-- > 0 ? requestAnimationFrame(step) : resolve());
    step();
  }), n);
}

// The canvas as the user sees it: { w, h, rgb } with 3 bytes a pixel, row by row.
export async function shot(page) {
  const canvas = await page.$('#canvas');
  const png = await canvas.screenshot({ encoding: 'base64' });
  const pixels = await page.evaluate(async (png) => {
    const image = new Image();
    image.src = 'data:image/png;base64,' + png;
    await image.decode();
    const c = new OffscreenCanvas(image.width, image.height).getContext('2d');
    c.drawImage(image, 0, 0);
    const rgba = c.getImageData(0, 0, image.width, image.height).data;
    let s = '';
    for (let i = 0; i < rgba.length; i += 4) s += String.fromCharCode(rgba[i], rgba[i + 1], rgba[i + 2]);
    return { w: image.width, h: image.height, rgb: btoa(s) };
  }, png);
  return { w: pixels.w, h: pixels.h, rgb: Buffer.from(pixels.rgb, 'base64'), png };
}

// The viewer's grey background, 0 to 255, from its one definition.
export const grey = Math.round(255 * Number(readFileSync(new URL('../../viewer/viewer.h', import.meta.url), 'utf8')
  .match(/VIEWER_BACKGROUND = ([0-9.]+)f;/)[1]));

export const pixel = (s, x, y) => [...s.rgb.subarray((y * s.w + x) * 3, (y * s.w + x) * 3 + 3)];

// The pixels that are neither the grey background nor the page's white (a screenshot of a
// canvas at a fractional density may take in a sliver of the page): how many, and their centroid.
export function dieIn(s) {
  let area = 0, cx = 0, cy = 0;
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
