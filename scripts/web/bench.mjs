// The page's rates in headless Chromium: frames drawn and idle steps a second while the die
// spins, the first frame's delay after loading, and the size of what is downloaded.
// Usage: node bench.mjs DIR
import { stat } from 'node:fs/promises';
import { resolve } from 'node:path';
import { launch, serve } from './support.mjs';

const dir = resolve(process.argv[2] || 'build-web');
const server = await serve(dir);
const browser = await launch();
// The browser's first WebGL context starts its GPU process and software renderer, about a
// second here: part of starting the browser, not of loading the page, so it is done first.
const warm = await browser.newPage();
await warm.evaluate(() => document.createElement('canvas').getContext('webgl'));
await warm.close();
const page = await browser.newPage();
// Counts draw calls (six faces a frame) and GLUT's idle steps, from before the page loads.
await page.evaluateOnNewDocument(() => {
  window.counts = { draws: 0, idles: 0, firstFrame: 0 };
  const getContext = HTMLCanvasElement.prototype.getContext;
  HTMLCanvasElement.prototype.getContext = function (...args) {
    const gl = getContext.apply(this, args);
    if (gl && !gl.counted) {
      gl.counted = true;
      for (const name of ['drawArrays', 'drawElements']) {
        const draw = gl[name].bind(gl);
        gl[name] = (...a) => {
          if (!counts.firstFrame) counts.firstFrame = performance.now();
          ++counts.draws;
          return draw(...a);
        };
      }
    }
    return gl;
  };
  const setTimeout = window.setTimeout;
  window.setTimeout = (f, ms) => setTimeout(() => { if (ms === 4) ++counts.idles; f(); }, ms);
});
process.stderr.write('bench: the page in headless Chromium for five seconds...\n');
await page.goto(server.url);
await page.waitForFunction(() => counts.firstFrame > 0);
// performance.now() counts from the start of the navigation.
const [first, loaded] = await page.evaluate(() => [counts.firstFrame,
  performance.getEntriesByType('navigation')[0].loadEventEnd]);
const start = await page.evaluate(() => ({ ...counts, t: performance.now() }));
await new Promise((r) => setTimeout(r, 5000));
const end = await page.evaluate(() => ({ ...counts, t: performance.now() }));
await browser.close();
server.close();
const seconds = (end.t - start.t) / 1000;
let bytes = 0;
for (const f of ['index.html', 'vexo.js', 'vexo.wasm']) bytes += (await stat(resolve(dir, f))).size;
console.log(`| Web page in headless Chromium | ${((end.draws - start.draws) / 6 / seconds).toFixed(0)} frames/s | ${((end.idles - start.idles) / seconds).toFixed(0)} idle steps/s |`);
console.log(`\nPage: first frame drawn ${first.toFixed(0)} ms after the page was asked for, ${(first - loaded).toFixed(0)} ms after its load event; index.html + vexo.js + vexo.wasm = ${(bytes / 1024).toFixed(0)} KB.`);
