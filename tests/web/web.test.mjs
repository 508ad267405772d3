// The web page driven as a person would, judged by screenshots of its canvas. First what every
// visitor sees, in Chromium, Firefox and WebKit, with the program on a worker and, as where a
// browser cannot draw WebGL there, on the page's own thread; its picture held against the
// desktop's, drawn by the frames tool (FRAMES) in the same views. Then what needs Chromium's
// DevTools: touch, densities, requests held back, the accessibility tree. BUILD names the folder
// `make web` built (build-web by default); Firefox and WebKit need a display.
import { after, before, describe, test as nodeTest } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, symlinkSync, writeFileSync } from 'node:fs';
import { readFile } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import { gzipSync } from 'node:zlib';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { createRequire } from 'node:module';
import { dieIn, drag, drive, engine, frames, launch, open, shot, touch } from '../../scripts/web/browsers.mjs';
import { serve } from '../../scripts/web/server.mjs';

const here = dirname(fileURLToPath(import.meta.url));
const root = resolve(process.env.BUILD || resolve(here, '../../build-web'));
const framesTool = process.env.FRAMES || resolve(here, '../../build-tools/tools/frames');
const pictureDiff = join(dirname(framesTool), 'picture_diff');
// No test may wait without a bound: each fails after two minutes with what it had seen.
const test = (name, body) => nodeTest(name, { timeout: 120000 }, body);
let server, browser;
before(async () => { server = await serve(root); browser = await launch(); });
after(async () => { await browser?.close(); server?.close(); });

const same = (a, b) => a.rgb.equals(b.rgb);
// The desktop's frame of a view (a size, then keys, as the frames tool takes them), and whether a
// picture agrees with it, by the comparison every picture test uses (tools/picture_diff): a few
// pixels on edges where two rasterisers round a pixel each way, none for a face, a pip or a
// light that is wrong.
const work = mkdtempSync(join(tmpdir(), 'vexo-frames-'));
after(() => rmSync(work, { recursive: true }));
const desktopFrames = new Map();
function desktop(view) {
  const key = view.join(' ');
  if (!desktopFrames.has(key)) {
    const path = join(work, `desktop-${desktopFrames.size}.ppm`);
    execFileSync(framesTool, [path, ...view]);
    const ppm = readFileSync(path);
    const [head, w, h] = ppm.toString('latin1', 0, 32).match(/^P6\s+(\d+)\s+(\d+)\s+255\s/);
    desktopFrames.set(key, { w: +w, h: +h, rgb: ppm.subarray(head.length), path });
  }
  return desktopFrames.get(key);
}
function agrees(seen, view) {
  const path = join(work, 'seen.ppm');
  writeFileSync(path, Buffer.concat([Buffer.from(`P6\n${seen.w} ${seen.h}\n255\n`), seen.rgb]));
  try {
    execFileSync(pictureDiff, [desktop(view).path, path, String(tolerance(view))]);
    return true;
  } catch (e) {
    if (e.status !== 1) throw e;
    agrees.report = `${view.join(' ')}:\n${e.stdout}`;
    return false;
  }
}
// The canvas of a page of any engine, or of Chromium's own.
const picture = (page) => (page.shot ? page.shot() : shot(page));
// Waits, within a bound, for the canvas to hold still, and returns what it shows.
async function heldStill(page, a = null) {
  a ||= await picture(page);
  for (let b, i = 0; i < 100 && !same(a, b = await picture(page)); ++i) a = b;
  return a;
}
// Waits, within a bound, for the canvas to show something other than `before`, and returns it;
// changed() then waits for it to hold still: the program, maybe on another thread, has taken the
// input and drawn it.
async function differs(page, before) {
  let a = await picture(page);
  for (let i = 0; i < 100 && same(a, before); ++i) a = await picture(page);
  return a;
}
const changed = async (page, before) => heldStill(page, await differs(page, before));
// Waits, within a bound, for the canvas to show what the relation `near` wants, and returns what
// it showed last.
async function shows(page, near) {
  let s;
  for (let i = 0; i < 100; ++i) if (near(s = await picture(page))) break;
  return s;
}
const showsAgain = (page, picture) => shows(page, (s) => same(s, picture));

// ---- What every visitor sees, in every engine, both ways -------------------------------------

// Views of the die, as the frames tool and the page take them: a size, then keys.
const views = [
  ['250x250'],
  ['250x250', ...Array(10).fill('x'), 'Ctrl+Alt+ArrowLeft', 'Ctrl+Alt+ArrowLeft', 'Ctrl+Alt+ArrowLeft'],
  ['250x250', 'Enter', ...Array(10).fill('x'), 'Ctrl+Alt+ArrowLeft', 'Ctrl+Alt+ArrowLeft', 'Ctrl+Alt+ArrowLeft'],
  ['300x200', 'Shift+ArrowUp', 'Shift+ArrowUp', 'y', 'y', 'y', 'y', 'y', 'z', 'z', 'z'],
  ['180x260', 'Enter', 'Ctrl+ArrowDown', 'Alt+PageUp', 'ArrowUp', 'ArrowUp', 'Ctrl+Alt+ArrowRight'],
];
// Outlines are a pixel wide, so a pixel rounded the other way is a larger share of them.
const tolerance = (view) => (view.includes('Enter') ? 0.08 : 0.01);

// VEXO_ENGINES=chromium,webkit, say, for fewer. WebKitGTK draws on a worker only behind a feature
// switch, whose web process crashes now and then here: as its visitors have it, WebKit runs the
// program on the page's thread, and on a worker only when asked for by `webkit-worker`.
const engines = (process.env.VEXO_ENGINES || 'chromium,firefox,webkit').split(',');
for (const [, name, options] of [['chromium', 'chromium'], ['chromium', 'chromium', { here: true }],
  ['firefox', 'firefox'], ['webkit-worker', 'webkit'], ['webkit', 'webkit', { here: true }]]
  .filter(([asked]) => engines.includes(asked))) {
  describe(`${name}${options ? ', the program on the page\'s thread' : ''}`, () => {
    let e;
    before(async () => { e = await engine(name, options); });
    after(async () => { await e?.close(); });
    // The page under reduced motion, at a view's size: the die still, straight on.
    async function start(size = '250x250') {
      const page = await e.open(server.url);
      const [w, h] = size.split('x').map(Number);
      await page.eval((w, h) => Object.assign(document.querySelector('#canvas').style,
        { width: w + 'px', height: h + 'px', aspectRatio: 'auto' }), w, h);
      return page;
    }
    // The start view once the canvas shows it: an engine may show the first frame a little late.
    const startView = (page) => shows(page, (s) => agrees(s, views[0]));

    test('the desktop\'s picture in every view; still until asked to spin', async () => {
      let page = await start();
      assert.deepEqual(await page.eval(() => [document.title, document.activeElement.id,
        document.querySelector('#pause').textContent, !document.querySelector('#still').hidden]),
        ['Vexo', 'canvas', 'Resume', true], 'titled, focused, still and saying how to start it');
      for (const view of views) {
        if (view !== views[0]) page = await start(view[0]);
        for (const key of view.slice(1)) await page.press(key);
        const seen = await shows(page, (s) => agrees(s, view));
        assert.ok(agrees(seen, view), agrees.report);
        if (view !== views.at(-1)) await page.close();
      }
      const still = await page.shot();
      await page.press(' ');
      const spun = await differs(page, still);
      await page.press(' ');
      const held = await changed(page, spun);
      assert.ok(!same(spun, still) && same(held, await heldStill(page, held)),
        'space spins it, and holds it still again');
      assert.deepEqual(page.errors, []);
      await page.close();
    });

    // The controls' arithmetic is the native page test's (test_web_page.cpp); here, that each engine's
    // real pointer and modifiers reach it: a Ctrl-drag shrinks the die, an Alt-drag moves it with the
    // pointer, and Home gives back the start.
    test('drags: a Ctrl-drag zooms, an Alt-drag pans with the pointer, Home undoes them', async () => {
      const page = await start();
      const first = await startView(page);
      await page.drag(['Ctrl'], 125, 150, 0, -50);
      const small = await changed(page, first);
      await page.drag(['Alt'], 100, 150, 25, -20);
      const moved = dieIn(await changed(page, small)), was = dieIn(small);
      assert.ok(was.area < dieIn(first).area, 'smaller');
      assert.ok(Math.abs(moved.cx - was.cx - 25) <= 1 && Math.abs(moved.cy - was.cy + 20) <= 1,
        `moved ${moved.cx - was.cx}, ${moved.cy - was.cy}`);
      await page.press('Home');
      assert.ok(same(first, await shows(page, (s) => same(s, first))), 'Home gives back the start');
      assert.deepEqual(page.errors, []);
      await page.close();
    });

    test('the buttons and their labels; the menu; "Quitter" and Escape end Vexo', async () => {
      let page = await start();
      const label = (id) => page.eval((id) => document.getElementById(id).textContent, id);
      const first = await startView(page);
      await page.click('#pause');
      await page.waitFor(() => document.querySelector('#pause').textContent === 'Pause');
      const spun = await differs(page, first);
      await page.eval(() => document.querySelector('#canvas').focus());
      await page.press(' ');
      await page.waitFor(() => document.querySelector('#status').textContent === 'Paused.');
      assert.equal(await label('pause'), 'Resume', 'Space is the button too');
      const paused = await changed(page, spun);
      await page.click('#outlines');
      await page.waitFor(() => document.querySelector('#outlines').textContent === 'Faces');
      assert.ok(dieIn(await changed(page, paused)).area < dieIn(paused).area / 4, 'outlines');
      await page.click('#reset');

      await page.rightClick(100, 100);
      assert.deepEqual(await page.eval(() => Array.from(document.querySelectorAll('.menu:not([hidden]) button'),
        (b) => b.textContent)), ['Quitter']);
      await page.press('Escape');
      assert.deepEqual(await page.eval(() => [!!document.querySelector('.menu:not([hidden])'),
        document.querySelector('#ended').hidden]), [false, true], 'Escape closes the menu, and only that');
      await page.rightClick(100, 100);
      await page.click('.menu button');
      await hasEnded(page);
      await page.close();

      page = await start();
      await page.press('Escape');
      await hasEnded(page);
      await page.close();
    });

    // The service worker's: once an engine, however the program runs.
    (name === 'chromium' && options ? () => {} : test)('offline: after one visit, each copy of the page opens ' +
      'and draws with no network or HTTP cache, and keeps its own caches', async () => {
      // Two copies of the page on one host, served with nothing for the browser's HTTP cache.
      const sites = mkdtempSync(join(tmpdir(), 'vexo-copies-'));
      for (const copy of ['a', 'b']) symlinkSync(root, join(sites, copy));
      const site = await serve(sites, { noStore: true });
      try {
        const caches = (page) => page.eval(() => caches.keys());
        let page, kept;
        for (const copy of ['b', 'a']) {
          page = await e.open(`${site.url}${copy}/`);
          await page.eval(() => navigator.serviceWorker.ready.then(() => true));
          if (copy === 'b') kept = await caches(page), await page.close();
        }
        site.offline = true;
        await page.loadAgain();
        const offline = dieIn(await shows(page, (s) => dieIn(s).area > 1000)).area;
        const text = await page.eval(() => document.body.innerText.slice(0, 300));
        assert.ok(offline > 1000, `drawn offline: ${offline} pixels of the die; ${text}`);
        site.offline = false;
        // A new build of one copy, taken by its visitor, leaves the other copy's caches alone.
        const sw = readFileSync(join(root, 'sw.js'), 'utf8');
        site.replaced['/a/sw.js'] = sw.replace(/const BUILD = '[^']*'/, "const BUILD = 'a-new-build'");
        await page.loadAgain();
        await page.waitFor(() => !document.querySelector('#update').hidden);
        await page.loadAgain(() => page.click('#take-update'));
        const wanted = [...kept, `vexo ${site.url}a/ a-new-build`].sort();
        await page.waitFor((w) => caches.keys().then((k) => k.sort().join() === w.join()), wanted).catch(() => {});
        assert.deepEqual((await caches(page)).sort(), wanted, 'the new build\'s cache, and the other copy\'s');
        await page.close();
      } finally {
        site.close();
        rmSync(sites, { recursive: true });
      }
    });
  });
}

// Whether the program has ended: the page says so, its canvas leaves the Tab order, and once the
// frames asked for before the end are drawn, no key changes the picture any more.
async function hasEnded(page) {
  await page.waitFor(() => !document.querySelector('#ended').hidden);
  assert.deepEqual(await page.eval(() => [document.querySelector('#status').textContent,
    document.querySelector('#canvas').tabIndex, document.querySelector('.controls').hidden]),
    ['Vexo has ended.', -1, true]);
  const a = await heldStill(page);
  await page.eval(() => document.querySelector('#canvas').focus());
  await page.press('x');
  await page.eval(() => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r))));
  assert.ok(same(a, await page.shot()), 'the ended canvas hears nothing more');
  assert.deepEqual(page.errors, []);
}

// ---- What needs Chromium's DevTools --------------------------------------------------------

// Each twice: the program on a worker, and on the page's thread.
let onThread = false;
const openPage = (on, url, options) => open(on, url, { here: onThread, ...options });
for (const thread of [false, true]) {
  describe(`Chromium with its DevTools${thread ? ', the program on the page\'s thread' : ''}`, () => {
    // What does not depend on where the program runs is seen on the worker's path alone.
    const onePath = thread ? () => {} : test;
    before(() => { onThread = thread; });

    // The page under reduced motion, its die still until input moves it, drawn; in `on`, a browser or
    // a context of one.
    async function stillPage(options = {}, on = browser) {
      const page = await openPage(on, server.url, { ...options, reducedMotion: true });
      await frames(page);
      return page;
    }
    // Vexo started in a page or frame: its loading note gone.
    const started = (frame) => frame.waitForFunction(() => document.querySelector('#loading').hidden);

    const phone = { viewport: { width: 390, height: 700, deviceScaleFactor: 2, hasTouch: true, isMobile: true } };

    test('touch: a finger turns as a Shift-drag, two pinch and pan, a long press opens the menu, ' +
      'a double tap resets', async () => {
      const page = await stillPage(phone);
      const finger = await touch(page);
      const start = await shot(page);
      const path = [0, 1, 2, 3, 4, 5].map((i) => [100 + 6 * i, 100 + 4 * i]);
      await finger('touchStart', [path[0]]);
      for (const p of path.slice(1)) await finger('touchMove', [p]);
      await finger('touchEnd', []);
      const turned = await changed(page, start);
      await page.keyboard.press('Home');
      assert.ok(same(start, await showsAgain(page, start)), 'Home gives back the start');
      await drag(page, ['Shift'], 100, 100, 30, 20);
      assert.ok(same(turned, await showsAgain(page, turned)), 'as a Shift-drag along the same path');
      await page.keyboard.press('Home');

      // Spread from 80 to 40 CSS px, the midpoint 10 px to the right: a quarter of the area.
      const before = dieIn(await showsAgain(page, start));
      await finger('touchStart', [[85, 125], [165, 125]]);
      for (let i = 1; i <= 5; ++i) await finger('touchMove', [[85 + 6 * i, 125], [165 - 2 * i, 125]]);
      await finger('touchEnd', []);
      const pinched = dieIn(await changed(page, start));
      assert.ok(Math.abs(pinched.area / before.area - 0.25) < 0.02, `area ${before.area} then ${pinched.area}`);
      assert.ok(Math.abs(pinched.cx - before.cx - 20) <= 1, `moved ${pinched.cx - before.cx} device px`);
      assert.deepEqual(await page.evaluate(() => [visualViewport.scale, scrollX, scrollY]), [1, 0, 0],
        'the page itself is neither zoomed nor scrolled');

      for (let i = 0; i < 2; ++i) await finger('touchStart', [[125, 125]]), await finger('touchEnd', []);
      assert.ok(same(start, await showsAgain(page, start)), 'a double tap resets the view');

      await finger('touchStart', [[60, 60]]);
      await new Promise((r) => setTimeout(r, 700));
      await finger('touchEnd', []);
      assert.deepEqual(await page.evaluate(() => [document.querySelector('.menu').hidden,
        document.activeElement.textContent]), [false, 'Quitter'], 'a long press opens the menu');
      // Away from the finger: its next tap a little right and down chooses nothing.
      const box = await (await page.$('#canvas')).boundingBox();
      const menu = await (await page.$('.menu')).boundingBox();
      for (const [dx, dy] of [[0, 0], [6, 10], [10, 10], [30, 30]]) {
        const [x, y] = [box.x + 60 + dx, box.y + 60 + dy];
        assert.ok(x < menu.x || x > menu.x + menu.width || y < menu.y || y > menu.y + menu.height,
          `the menu (${menu.x}, ${menu.y}, ${menu.width} x ${menu.height}) lies under the finger moved by ` +
          `${dx}, ${dy}`);
      }
      await finger('touchStart', [[66, 70]]);
      await finger('touchEnd', []);
      assert.equal(await page.$eval('#ended', (e) => e.hidden), true, 'the tap after a long press ends nothing');
      assert.deepEqual(page.errors, []);
      await page.close();
    });

    const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
    // Vexo embedded by a host page: `body` around an iframe of it.
    const host = (path, body) => {
      server.replaced[path] = `<!doctype html><body style="margin:0">${body}</body>`;
      return server.url + path.slice(1);
    };

    // Escape with the menu open: in every engine, above, and in tests/page.
    test('careless visitors: a tap while it loads, a host page\'s focus, a short embed', async () => {
      // A tap before the module is ready throws nothing and leaves no finger behind.
      const context = await browser.createBrowserContext();  // where no service worker answers first
      const early = await openPage(context, server.url,
        { viewport: phone.viewport, hold: /vexo\.wasm$/, started: false });
      await early.waitForFunction(() => typeof vexoPage !== 'undefined');
      const finger = await touch(early);
      await finger('touchStart', [[100, 100]]), await finger('touchEnd', []);
      await finger('touchStart', [[100, 100]]);
      early.holding = false;
      early.held[0].continue();
      await started(early);
      await finger('touchEnd', []);
      await finger('touchStart', [[60, 60]]), await sleep(700), await finger('touchEnd', []);
      assert.equal(await early.$eval('.menu', (m) => m.hidden), false, 'a long press after the load opens the menu');
      assert.deepEqual(early.errors, []);
      await context.close();

      // A host page's focused field keeps its focus, its typing and its scroll while Vexo starts.
      const page = await openPage(browser, 'about:blank', { started: false });
      await page.goto(host('/host.html', '<input id="field"><div style="height:1500px"></div>' +
        '<iframe src="./" width="300" height="300"></iframe>'));
      await page.focus('#field');
      await page.keyboard.type('ab');
      const frame = await (await page.$('iframe')).contentFrame();
      await started(frame);
      await page.keyboard.type('c');
      assert.deepEqual(await page.evaluate(() => [document.activeElement.id,
        document.getElementById('field').value, scrollY]), ['field', 'abc', 0]);

      // In a short embed the menu opens clear of the finger, and a tap there chooses nothing.
      for (const [w, h] of [[300, 100], [150, 150]]) {
        await page.goto(host('/short.html', `<iframe src="./" width="${w}" height="${h}" style="border:0"></iframe>`));
        const short = await (await page.$('iframe')).contentFrame();
        await started(short);
        await short.$eval('#canvas', (c) => c.scrollIntoView());
        const box = await (await short.$('#canvas')).boundingBox();
        const at = [Math.min(box.width, w) / 2, Math.min(h - box.y, box.height) / 2];
        const fingers = await touch(page, short);
        await fingers('touchStart', [at]), await sleep(700), await fingers('touchEnd', []);
        const menu = await (await short.$('.menu:not([hidden])')).boundingBox();
        const [x, y] = [box.x + at[0], box.y + at[1]];
        const gap = Math.hypot(Math.max(menu.x - x, 0, x - menu.x - menu.width),
          Math.max(menu.y - y, 0, y - menu.y - menu.height));
        assert.ok(gap >= 30, `${w} x ${h}: the menu (${menu.x}, ${menu.y}, ${menu.width} x ${menu.height}) ` +
          `${gap} px from the finger at ${x}, ${y}`);
        for (const d of [0, 6]) await fingers('touchStart', [[at[0] + d, at[1]]]), await fingers('touchEnd', []);
        assert.equal(await short.$eval('#ended', (e) => e.hidden), true,
          `${w} x ${h}: a tap after a long press ended Vexo`);
      }
      await page.close();
    });

    // The canvas's size in device pixels, as the browser lays it out.
    const devicePixels = (page) => page.$eval('#canvas', (c) => new Promise((resolve) => {
      const observer = new ResizeObserver(([entry]) => {
        observer.disconnect();
        resolve([entry.devicePixelContentBoxSize[0].inlineSize, entry.devicePixelContentBoxSize[0].blockSize]);
      });
      observer.observe(c, { box: 'device-pixel-content-box' });
    }));
    const buffer = (page) => page.$eval('#canvas', (c) => [c.width, c.height]);

    // Whole densities emulated, as the tests of touch use them: the die centred, the pointer exact.
    test('sharp at 1x, 2x and 3x: the buffer follows CSS size x density, the die centred, the pointer exact',
      async () => {
      for (const dpr of [1, 2, 3]) {
        const page = await stillPage({ viewport: { deviceScaleFactor: dpr } });
        assert.deepEqual(await buffer(page), [250 * dpr, 250 * dpr]);
        // Outlines one CSS pixel wide: their share of the canvas is the desktop's at any density.
        const start = await shot(page), outlines = views[2];
        for (const key of outlines.slice(1)) await drive(page).press(key);
        const weight = dieIn(await changed(page, start)).area / dieIn(desktop(outlines)).area / dpr ** 2;
        assert.ok(Math.abs(weight - 1) < 0.15, `${dpr}x: outlines ${weight} times as heavy as the desktop's`);
        await drive(page).press('Enter');
        await page.keyboard.press('Home');
        await drag(page, ['Control'], 125, 150, 0, -50);
        const smaller = await changed(page, start), before = dieIn(smaller);
        assert.ok(Math.abs(before.cx - (250 * dpr - 1) / 2) <= 1, `${dpr}x: centred at ${before.cx}`);
        await drag(page, ['Alt'], 100, 150, 40, 0);
        const panned = await changed(page, smaller), moved = dieIn(panned).cx - before.cx;
        assert.ok(Math.abs(moved - 40 * dpr) <= 1, `${dpr}x: moved ${moved} device px for 40 CSS px`);
        // The page's CSS makes it smaller: the buffer follows and the die stays centred.
        await page.$eval('#canvas', (c) => { c.style.width = '150px'; });
        await page.waitForFunction((w) => document.querySelector('#canvas').width === w, {}, 150 * dpr);
        await page.keyboard.press('Home');
        const small = dieIn(await changed(page, panned));
        assert.ok(Math.abs(small.cx - (150 * dpr - 1) / 2) <= 1 && Math.abs(small.cy - small.cx) <= 1,
          `${dpr}x: ${small.cx}, ${small.cy}`);
        assert.deepEqual(page.errors, []);
        await page.close();
      }
      // Fractional densities as real screens have them, where the canvas's device-pixel size is not
      // always its CSS size times the density, rounded: the buffer is exactly that size, or the
      // browser resamples the picture.
      // The page's own arithmetic, wherever the program runs: on the worker's path alone.
      for (const dpr of thread ? [] : [1.25, 2.625, 2.75]) {
        const screen = await launch([`--force-device-scale-factor=${dpr}`]);
        try {
          const page = await openPage(screen, server.url, { viewport: { deviceScaleFactor: 0 } });
          for (const width of ['250px', '149px']) {
            await page.$eval('#canvas', (c, width) => { c.style.width = width; }, width);
            const exact = await devicePixels(page);
            // Both sides: a worker's canvas shows its new size only once it draws.
            await page.waitForFunction(([w, h]) => document.querySelector('#canvas').width === w &&
              document.querySelector('#canvas').height === h, { timeout: 2000 }, exact).catch(() => {});
            assert.deepEqual(await buffer(page), exact,
              `${dpr}x, ${width}: the buffer against the canvas's device pixels`);
          }
          assert.deepEqual(page.errors, []);
        } finally {
          await screen.close();
        }
      }
    });

    onePath('keys: only from the canvas and only Vexo\'s; Tab leaves; the menu from the keyboard', async () => {
      const page = await openPage(browser, server.url, { viewport: { width: 300 } });
      // What Vexo leaves to the browser, and what it takes, as the canvas's key handling decides.
      const taken = (init) => page.$eval('#canvas', (c, init) => {
        const e = new KeyboardEvent('keydown', { ...init, bubbles: true, cancelable: true });
        Object.defineProperty(e, 'keyCode', { get: () => init.keyCode });
        c.dispatchEvent(e);
        return e.defaultPrevented;
      }, init);
      // A browser's key and one of Vexo's each way, as a real keydown brings them: the page's key table
      // decides the rest (tests/page).
      const browserKeys = [{ key: 'F5', keyCode: 116 }, { key: 'PageUp', keyCode: 33, ctrlKey: true },
        { key: 'Home', keyCode: 36, altKey: true }];
      const vexoKeys = [{ key: 'x', keyCode: 88 }, { key: 'PageUp', keyCode: 33, ctrlKey: true, altKey: true }];
      const wrong = [];
      for (const k of browserKeys) if (await taken(k)) wrong.push(`${JSON.stringify(k)} taken from the browser`);
      for (const k of vexoKeys) if (!(await taken(k))) wrong.push(`${JSON.stringify(k)} not Vexo's`);
      assert.deepEqual(wrong, []);

      await page.keyboard.press('Tab');
      assert.equal(await page.evaluate(() => document.activeElement.id), 'pause', 'Tab leaves the canvas');

      // Shift+F10 on the canvas opens the menu inside the viewport, Escape closes it and returns.
      await page.focus('#canvas');
      await page.keyboard.down('Shift'), await page.keyboard.press('F10'), await page.keyboard.up('Shift');
      const [open_, focused, lang, right] = await page.evaluate(() => [!document.querySelector('.menu').hidden,
        document.activeElement.textContent, document.activeElement.lang,
        document.querySelector('.menu').getBoundingClientRect().right]);
      assert.deepEqual([open_, focused, lang], [true, 'Quitter', 'fr']);
      assert.ok(right <= 300, `the menu ends at ${right} in a 300 px viewport`);
      const named = await page.accessibility.snapshot({ root: await page.$('.menu') });
      assert.deepEqual([named.role, named.name], ['menu', 'Vexo'], 'the menu is named');
      await page.keyboard.press('Tab');
      assert.equal(await page.$eval('.menu', (m) => m.hidden), true, 'focus leaving the menu closes it');
      await page.focus('#canvas');
      await page.keyboard.down('Shift'), await page.keyboard.press('F10'), await page.keyboard.up('Shift');
      await page.keyboard.press('Escape');
      assert.equal(await page.evaluate(() => document.activeElement.id), 'canvas');
      const box = await (await page.$('#canvas')).boundingBox();
      await page.mouse.click(box.x + box.width - 2, box.y + 10, { button: 'right' });
      assert.ok(await page.$eval('.menu', (m) => m.getBoundingClientRect().right <= 300), 'near the right edge too');
      await page.keyboard.press('Escape');
      await page.mouse.move(box.x + 100, box.y + 100);
      await page.mouse.wheel({ deltaY: 120 });  // the page's, without a word in the console
      await page.keyboard.press('ContextMenu');
      await page.keyboard.press('Space');  // chooses "Quitter"
      await hasEnded(drive(page));
      // Ended, nothing of the program listens any more.
      assert.equal(await page.$eval('#canvas', (c) => c.hasAttribute('aria-describedby')), false);
      const cdp = await page.createCDPSession();
      const { result } = await cdp.send('Runtime.evaluate', { expression: 'window' });
      const { listeners } = await cdp.send('DOMDebugger.getEventListeners', { objectId: result.objectId });
      const input = listeners.filter((l) => /^(key|mouse|pointer|touch|wheel|DOMMouseScroll)/.test(l.type));
      assert.deepEqual(input.map((l) => l.type), [], 'no input listener is left on the window');
      assert.deepEqual(page.errors, []);
      await page.close();
    });

    onePath('readers: axe-core finds nothing, with the menu open or not', async () => {
      const page = await stillPage();
      const axePath = createRequire(import.meta.url)
        .resolve('axe-core', { paths: [resolve(here, '../../scripts/web')] });
      await page.addScriptTag({ path: axePath });
      const audit = () => page.evaluate(async () => (await axe.run()).violations
        .map((v) => `${v.id}: ${v.nodes.map((n) => n.target).join(' ')}`));
      assert.deepEqual(await audit(), []);
      await page.evaluate(() => vexoPage.openMenu());
      assert.deepEqual(await audit(), [], 'with the menu open');
      assert.deepEqual(page.errors, []);
      await page.close();
    });

    const problem = (page) => page.$eval('#problem', (p) => !p.hidden && p.innerText.replace(/\s+/g, ' ').trim());
    const uncaught = (page) => page.errors.filter((e) => e.startsWith('uncaught'));

    // Opened as a file, the page says so (tests/page).
    onePath('loading is said until the first frame; no WebGL and a missing module are said too', async () => {
      // The module is asked for before the script has run: hold both and the module still comes.
      // A context of its own, where no service worker answers before the interception.
      const context = await browser.createBrowserContext();
      const page = await openPage(context, server.url, { hold: /vexo\.(js|wasm)$/, started: false });
      const held = page.held;
      const asked = () => held.some((r) => r.url().endsWith('.wasm'));
      for (let i = 0; i < 250 && !asked(); ++i) await new Promise((r) => setTimeout(r, 20));
      assert.ok(asked(), 'vexo.wasm is asked for while vexo.js is held');
      assert.equal(await page.$eval('#loading', (p) => !p.hidden && p.textContent), 'Loading Vexo\u2026');
      for (const r of held) r.url().endsWith('.wasm') ? r.respond({ status: 404 }) : r.continue();
      await page.waitForSelector('#problem:not([hidden])');
      assert.match(await problem(page), /could not be loaded.*Try again/);
      page.holding = false;
      await page.setRequestInterception(false);
      await page.click('#retry');
      await started(page);
      assert.ok(dieIn(await shot(page)).area > 1000, 'tried again, it draws');
      assert.deepEqual(uncaught(page), []);
      await context.close();

      const none = await openPage(browser, server.url, { started: false, noWebGL: true });
      await none.waitForSelector('#problem:not([hidden])');
      assert.match(await problem(none), /needs WebGL/);
      assert.deepEqual(uncaught(none), []);
      await none.close();
    });

    // A new build's offer, and the visitor taking it, which loads the page again. The tab looked
    // at is brought to the front: a background tab draws no frames, and waits poll on frames.
    const offered = (page) => page.bringToFront().then(() =>
      page.waitForFunction(() => !document.querySelector('#update').hidden, { timeout: 20000 }));
    const take = (page) => Promise.all([page.waitForNavigation(), page.click('#take-update')]);

    onePath('a first visit from a sub-path fetches each file once; a new build is offered in two tabs and taken',
      async () => {
      // Served as most hosts serve, fresh for a while: whether the browser asks for its tab's icon
      // before or after the service worker has stored it, it then asks once.
      const site = await serve(resolve(root, '..'), { maxAge: 600 });
      try {
        const url = `${site.url}${root.split('/').pop()}/`;
        const page = await openPage(browser, url);
        await page.evaluate(() => navigator.serviceWorker.ready);
        // A first visit fetches each file once: the service worker stores what the page fetched.
        for (const [path, times] of Object.entries(site.asked)) assert.equal(times, 1, `${path} asked ${times} times`);
        const once = async (path) => {
          const bytes = await readFile(resolve(root, '..', '.' + path + (path.endsWith('/') ? 'index.html' : '')));
          return path.endsWith('.png') ? bytes.length : gzipSync(bytes, { level: 9 }).length;
        };
        for (const [path, sent] of Object.entries(site.sent)) {
          assert.ok(sent <= await once(path), `${path} sent ${sent} bytes`);
        }
        const own = (await Promise.all(['/', '/vexo.js', '/vexo.wasm']
          .map((f) => once(`/${root.split('/').pop()}${f}`))))
          .reduce((a, b) => a + b);
        assert.ok(own <= 40 * 1024, `the page, its script and its module are ${own} bytes gzipped`);
        await page.reload();
        await started(page);
        assert.ok(await page.evaluate(() => !!navigator.serviceWorker.controller));
        assert.equal(await page.$eval('#update', (p) => p.hidden), true, 'no new build yet');

        // A new build deployed: one tab, reloaded, is told that it waits, and takes it when asked;
        // a second tab's offer then loads it too.
        const other = await openPage(browser, url);
        const name = root.split('/').pop();
        const sw = await readFile(resolve(root, 'sw.js'), 'utf8');
        const build = sw.match(/const BUILD = '([^']*)'/)[1];
        site.replaced[`/${name}/sw.js`] = sw.replace(build, 'a-new-build');
        await page.reload();
        await offered(page);
        await take(page);
        await started(page);
        await page.waitForFunction(() => navigator.serviceWorker.controller?.state === 'activated');
        const caches_ = await page.evaluate(() => caches.keys());
        assert.ok(caches_.length === 1 && caches_[0].endsWith(' a-new-build'), `the caches: ${caches_}`);
        assert.equal(await page.$eval('#update', (p) => p.hidden), true, 'the new build in use');
        await offered(other);
        await take(other);
        await started(other);
        assert.equal(await other.$eval('#update', (p) => p.hidden), true, 'the second tab on the new build');
        await other.close();
        await page.close();
      } finally {
        site.close();
      }
    });
  });
}
