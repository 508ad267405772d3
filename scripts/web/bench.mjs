// The page measured in headless Chromium, served gzipped as a static host serves it: while the
// die spins, the frames it draws a second and how long the page's own thread is busy a frame
// (from a performance trace); how soon a host page's text field takes a key meanwhile; what a
// first visit downloads; then Lighthouse with its default phone profile, five runs of Vexo and of
// a plain page in turn, so that two machines' figures can be compared.
// Usage: node bench.mjs DIR
import { execFile } from 'node:child_process';
import { readFile } from 'node:fs/promises';
import { gzipSync } from 'node:zlib';
import { promisify } from 'node:util';
import { dirname, resolve } from 'node:path';
import { chromiumFlags, launch, open } from './browsers.mjs';
import { serve } from './server.mjs';

const dir = resolve(process.argv[2] || 'build-web');
const server = await serve(dir);
server.replaced['/plain.html'] = '<!doctype html><html lang="en"><head><meta charset="utf-8">' +
  '<meta name="viewport" content="width=device-width, initial-scale=1"><title>A plain page</title>' +
  '<meta name="description" content="Text alone."></head><body><h1>A plain page</h1><p>Text alone.</p></body></html>';
server.replaced['/host.html'] =
  '<!doctype html><body><input id="field"><iframe src="./" width="300" height="300"></iframe>';
const browser = await launch();
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

process.stderr.write('bench: the page spinning for three seconds, traced...\n');
const page = await open(browser, server.url);
await page.tracing.start({ categories: ['devtools.timeline', 'disabled-by-default-devtools.timeline'] });
await sleep(3000);
const trace = JSON.parse(Buffer.from(await page.tracing.stop()).toString()).traceEvents;
const pid = trace.find((e) => e.name === 'TracingStartedInBrowser').args.data.frames[0].processId;
const threads = Object.fromEntries(trace.filter((e) => e.pid === pid && e.name === 'thread_name')
  .map((e) => [e.tid, e.args.name]));
const on = (thread, name) => trace.filter((e) => e.pid === pid && threads[e.tid] === thread && e.name === name);
// The page's own thread: every task it ran, whatever for; the frames, wherever the program runs.
const busy = on('CrRendererMain', 'RunTask').reduce((ms, e) => ms + e.dur / 1000, 0);
const drawn = [...on('DedicatedWorker thread', 'FireAnimationFrame'), ...on('CrRendererMain', 'FireAnimationFrame')];
const seconds = (Math.max(...drawn.map((e) => e.ts)) - Math.min(...drawn.map((e) => e.ts))) / 1e6;
const where = on('DedicatedWorker thread', 'FireAnimationFrame').length ? 'a worker' : "the page's thread";
await page.close();

// A host page's field takes keys while Vexo spins beside it: from each key's event to its handler.
process.stderr.write('bench: typing into a host page beside the spinning die...\n');
const host = await browser.newPage();
await host.goto(server.url + 'host.html');
await (await (await host.$('iframe')).contentFrame()).waitForFunction(() => document.querySelector('#loading').hidden);
await host.evaluate(() => {
  window.delays = [];
  document.getElementById('field').addEventListener('keydown', (e) => delays.push(performance.now() - e.timeStamp));
});
await host.focus('#field');
await host.keyboard.type('the quick brown fox jumps over', { delay: 40 });
const delays = await host.evaluate(() => delays);
await browser.close();

let bytes = 0, gzipped = 0;
for (const f of ['index.html', 'vexo.js', 'vexo.wasm']) {
  const file = await readFile(resolve(dir, f));
  bytes += file.length;
  gzipped += gzipSync(file, { level: 9 }).length;
}
console.log(`| Web page in headless Chromium, the program on ${where} | ` +
  `${(drawn.length / seconds).toFixed(0)} frames/s | ` +
  `the page's thread ${(busy / drawn.length).toFixed(2)} ms a frame |`);
console.log(`\nPage: index.html + vexo.js + vexo.wasm = ${(bytes / 1024).toFixed(0)} KB, ` +
  `${(gzipped / 1024).toFixed(1)} KB gzipped. A host page's field took ${delays.length} keys beside the spinning die ` +
  `within ${Math.max(...delays).toFixed(1)} ms ` +
  `(median ${delays.sort((a, b) => a - b)[delays.length >> 1].toFixed(1)} ms) of each.`);

// Lighthouse in a browser of its own, five times for each page, in turn; its total blocking time
// varies from run to run, so every run is printed, and the long tasks of Vexo's median run.
const runs = 5;
process.stderr.write(`bench: Lighthouse, ${runs} runs of Vexo and of a plain page, about 20 seconds each...\n`);
const lighthouse = resolve(dirname(new URL(import.meta.url).pathname), 'node_modules/.bin/lighthouse');
const audit = async (url) => JSON.parse((await promisify(execFile)(lighthouse, [url, '--output=json', '--quiet',
  '--only-categories=performance,accessibility,best-practices,seo',
  `--chrome-flags=--headless=new ${chromiumFlags.join(' ')}`],
  { env: { ...process.env, CHROME_PATH: process.env.CHROMIUM || '/usr/bin/chromium' }, maxBuffer: 1 << 28,
    timeout: 180000 })).stdout);
const reports = { vexo: [], plain: [] };
for (let i = 0; i < runs; ++i) {
  reports.vexo.push(await audit(server.url));
  reports.plain.push(await audit(server.url + 'plain.html'));
}
server.close();
const tbt = (r) => r.audits['total-blocking-time'].numericValue;
const metric = (r, a) => r.audits[a].displayValue.replace(/\u00a0/g, ' ');
console.log(`\n| Lighthouse ${reports.vexo[0].lighthouseVersion}, mobile | Performance | TBT | FCP | LCP | ` +
  'Speed index | Benchmark index |');
console.log('|---|---:|---:|---:|---:|---:|---:|');
for (const [name, list] of [['Vexo', reports.vexo], ['A plain page', reports.plain]]) {
  for (const r of list) {
    console.log(`| ${name} | ${r.categories.performance.score.toFixed(2)} | ${Math.round(tbt(r))} ms | ` +
      `${['first-contentful-paint', 'largest-contentful-paint', 'speed-index'].map((a) => metric(r, a))
        .join(' | ')} | ` +
      `${Math.round(r.environment.benchmarkIndex)} |`);
  }
}
const median = [...reports.vexo].sort((a, b) => tbt(a) - tbt(b))[runs >> 1];
const score = (c) => median.categories[c].score.toFixed(2);
const longTasks = (median.audits['long-tasks']?.details?.items || []).map((t) =>
  `${Math.round(t.duration)} ms at ${Math.round(t.startTime)} ms in ` +
  `${(t.url || '').split('/').pop() || 'unattributed work'}`);
console.log(`\nVexo's median run by TBT: accessibility ${score('accessibility')}, ` +
  `best practices ${score('best-practices')}, SEO ${score('seo')}. Its long tasks: ${longTasks.join('; ') || 'none'}.`);
