// The page's rates in headless Chromium: frames drawn and idle steps a second while the die
// spins, the first frame's delay after loading, the size of what is downloaded, then
// Lighthouse's scores and metrics with its default phone profile, served gzipped as a static
// host serves it.
// Usage: node bench.mjs DIR
import { execFile } from 'node:child_process';
import { stat, readFile } from 'node:fs/promises';
import { gzipSync } from 'node:zlib';
import { promisify } from 'node:util';
import { dirname, resolve } from 'node:path';
import { chromiumFlags, launch, serve } from './support.mjs';

const dir = resolve(process.argv[2] || 'build-web');
const server = await serve(dir);
const browser = await launch();
// The browser's first WebGL context starts its GPU process and software renderer, about a
// second here: part of starting the browser, not of loading the page, so it is done first.
const warm = await browser.newPage();
await warm.evaluate(() => document.createElement('canvas').getContext('webgl'));
await warm.close();
const page = await browser.newPage();
// Counts draw calls (six faces a frame) and GLUT's idle steps (its only zero-delay timers), from
// before the page loads.
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
  window.setTimeout = (f, ms) => setTimeout(() => { if (!ms) ++counts.idles; f(); }, ms);
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
let bytes = 0, gzipped = 0;
for (const f of ['index.html', 'vexo.js', 'vexo.wasm']) {
  bytes += (await stat(resolve(dir, f))).size;
  gzipped += gzipSync(await readFile(resolve(dir, f)), { level: 9 }).length;
}
console.log(`| Web page in headless Chromium | ${((end.draws - start.draws) / 6 / seconds).toFixed(0)} frames/s | ${((end.idles - start.idles) / seconds).toFixed(0)} idle steps/s |`);
console.log(`\nPage: first frame drawn ${first.toFixed(0)} ms after the page was asked for, ${(first - loaded).toFixed(0)} ms after its load event; index.html + vexo.js + vexo.wasm = ${(bytes / 1024).toFixed(0)} KB, ${(gzipped / 1024).toFixed(1)} KB gzipped.`);

// Lighthouse in a browser of its own, five times: its total blocking time varies from run
// to run on a software renderer, so the median run by that is reported, and every run's score.
const runs = 5;
process.stderr.write(`bench: Lighthouse, ${runs} runs of about 20 seconds...\n`);
const lighthouse = resolve(dirname(new URL(import.meta.url).pathname), 'node_modules/.bin/lighthouse');
const reports = [];
for (let i = 0; i < runs; ++i) {
  const site = await serve(dir);
  const { stdout } = await promisify(execFile)(lighthouse, [site.url, '--output=json', '--quiet',
    `--chrome-flags=--headless=new ${chromiumFlags.join(' ')}`],
    { env: { ...process.env, CHROME_PATH: process.env.CHROMIUM || '/usr/bin/chromium' }, maxBuffer: 1 << 28, timeout: 180000 });
  site.close();
  reports.push(JSON.parse(stdout));
}
const tbt = (r) => r.audits['total-blocking-time'].numericValue;
reports.sort((a, b) => tbt(a) - tbt(b));
const r = reports[Math.floor(runs / 2)];
const score = (c) => r.categories[c].score.toFixed(2);
const metric = (a) => r.audits[a].displayValue.replace(/\u00a0/g, ' ');
console.log(`\n| Lighthouse ${r.lighthouseVersion}, mobile | Performance | Accessibility | Best practices | SEO | FCP | LCP | TBT | CLS | Speed index |`);
console.log('|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|');
console.log(`| Median of ${runs} by TBT | ${score('performance')} | ${score('accessibility')} | ${score('best-practices')} | ${score('seo')} | ` +
  `${['first-contentful-paint', 'largest-contentful-paint', 'total-blocking-time', 'cumulative-layout-shift', 'speed-index'].map(metric).join(' | ')} |`);
console.log(`\nPerformance of the ${runs} runs: ${reports.map((x) => x.categories.performance.score.toFixed(2)).join(', ')}; ` +
  `total blocking time ${reports.map((x) => Math.round(tbt(x))).join(', ')} ms.`);
// What makes figures of two machines comparable, and what blocked the page's thread: Lighthouse's
// own measure of the machine's speed, and the long tasks of the median run, in its simulated time.
console.log(`Benchmark index of the runs: ${reports.map((x) => Math.round(x.environment.benchmarkIndex)).join(', ')}.`);
const tasks = r.audits['long-tasks']?.details?.items || [];
console.log(`Long tasks of the median run: ${tasks.map((t) => `${Math.round(t.duration)} ms at ${Math.round(t.startTime)} ms in ` +
  `${(t.url || '').split('/').pop() || 'unattributed work'}`).join('; ') || 'none'}.`);
