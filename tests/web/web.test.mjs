// The web page in headless Chromium, driven as a person would, judged by screenshots of its
// canvas. BUILD names the folder `make web` built (build-web by default).
import { after, before, test as nodeTest } from 'node:test';
import assert from 'node:assert/strict';
import { readFile } from 'node:fs/promises';
import { gzipSync } from 'node:zlib';
import { dirname, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { createRequire } from 'node:module';
import { dieIn, drag, frames, grey, launch, open, pixel, releaseTimers, serve, shot, touch } from '../../scripts/web/support.mjs';

const here = dirname(fileURLToPath(import.meta.url));
const root = resolve(process.env.BUILD || resolve(here, '../../build-web'));
// No test may wait without a bound: each fails after two minutes with what it had seen.
const test = (name, body) => nodeTest(name, { timeout: 120000 }, body);
let server, browser;
before(async () => { server = await serve(root); browser = await launch(); });
after(async () => { await browser?.close(); server?.close(); });

const same = (a, b) => a.rgb.equals(b.rgb);
function near(observed, expected, tolerance, where) {
  const ok = observed.every((v, i) => Math.abs(v - expected[i]) <= tolerance);
  assert.ok(ok, `${where}: expected ${expected} ±${tolerance}, observed ${observed}`);
}
// Vexo started in a page or frame: its loading note gone.
const started = (frame) => frame.waitForFunction(() => document.querySelector('#loading').hidden);
// A page whose spin is held by space, so that every picture is the same until input moves it.
async function stillPage(options, on = browser) {
  const page = await open(on, server.url, options);
  await page.keyboard.press('Space');
  await frames(page);
  return page;
}

test('a 250 x 250 canvas titled Vexo, lit as on the desktop, spinning, stopped by space', async () => {
  const page = await open(browser, server.url, { holdTimers: true });
  assert.equal(await page.title(), 'Vexo');
  assert.deepEqual(await page.$eval('#canvas', (c) => [c.width, c.height]), [250, 250]);
  assert.ok(await page.$eval('#canvas', (c) => document.activeElement === c), 'canvas has focus');

  // The first frame, straight on: the desktop's expected ground, black pips, grey corners.
  const first = await shot(page);
  for (const [x, y] of [[125, 125], [70, 180], [180, 70]]) near(pixel(first, x, y), [154, 128, 128], 3, `ground (${x}, ${y})`);
  for (const [x, y] of [[93, 93], [157, 157], [93, 125]]) near(pixel(first, x, y), [0, 0, 0], 3, `pip (${x}, ${y})`);
  for (const [x, y] of [[2, 2], [247, 247]]) near(pixel(first, x, y), [grey, grey, grey], 3, `corner (${x}, ${y})`);

  await releaseTimers(page);
  await frames(page, 10);
  const spun = await shot(page);
  assert.ok(!same(first, spun), 'the die spins');
  await page.keyboard.press('Space');
  await frames(page);
  const still = await shot(page);
  await frames(page, 10);
  assert.ok(same(still, await shot(page)), 'space holds the picture still');
  await page.keyboard.press('Space');
  await frames(page, 10);
  assert.ok(!same(still, await shot(page)), 'space again resumes the spin');
  assert.deepEqual(page.errors, []);
  await page.close();
});

test('Enter gives outlines and back; x five times then X five times gives back the picture', async () => {
  const page = await stillPage();
  const filled = await shot(page);
  await page.keyboard.press('Enter');
  await frames(page);
  const outlines = dieIn(await shot(page)).area;
  assert.ok(outlines > 100 && outlines < dieIn(filled).area / 4, `outlines ${outlines} pixels`);
  await page.keyboard.press('Enter');
  await frames(page);
  assert.ok(same(filled, await shot(page)), 'filled again');

  for (let i = 0; i < 5; ++i) await page.keyboard.press('x');
  await frames(page);
  assert.ok(!same(filled, await shot(page)), 'x turns the die');
  for (let i = 0; i < 5; ++i) await page.keyboard.press('X');  // typed as with Caps Lock
  await frames(page);
  assert.ok(same(filled, await shot(page)), 'X undoes x');
  assert.deepEqual(page.errors, []);
  await page.close();
});

test('Ctrl-drag zooms 2 % per 5 pixels and an Alt-drag moves the die with the pointer', async () => {
  const page = await stillPage();
  await drag(page, ['Control'], 125, 150, 0, -50);  // smaller first, so the larger stays in view
  const small = dieIn(await shot(page));
  await drag(page, ['Control'], 125, 100, 0, 50);
  const large = dieIn(await shot(page));
  assert.ok(Math.abs(large.area / small.area - 1.02 ** 20) < 0.03, `${small.area} then ${large.area}`);

  await drag(page, ['Control'], 125, 150, 0, -50);
  const before = dieIn(await shot(page));
  await drag(page, ['Alt'], 100, 150, 25, -20);
  const moved = dieIn(await shot(page));
  assert.ok(Math.abs(moved.cx - before.cx - 25) <= 1, `moved ${moved.cx - before.cx} across`);
  assert.ok(Math.abs(moved.cy - before.cy + 20) <= 1, `moved ${moved.cy - before.cy} down`);
  assert.deepEqual(page.errors, []);
  await page.close();
});

// Whether the program has ended: the page says so and the canvas no longer changes.
async function hasEnded(page) {
  await page.waitForSelector('#ended:not([hidden])', { timeout: 2000 });
  const a = await shot(page);
  await frames(page, 10);
  return same(a, await shot(page));
}

test('the right button shows "Quitter", which ends Vexo; so does Escape', async () => {
  let page = await open(browser, server.url);
  const box = await (await page.$('#canvas')).boundingBox();
  await page.mouse.click(box.x + 100, box.y + 100, { button: 'right' });
  const entries = await page.$$eval('.menu:not([hidden]) button', (b) => b.map((e) => e.textContent));
  assert.deepEqual(entries, ['Quitter']);
  await page.keyboard.press('Escape');
  assert.equal(await page.$('.menu:not([hidden])'), null, 'Escape closes the menu');
  assert.ok(!(await page.$eval('#ended', (e) => !e.hidden)), 'and does not end Vexo');
  await page.mouse.click(box.x + 100, box.y + 100, { button: 'right' });
  await page.click('.menu button');
  assert.ok(await hasEnded(page), 'Quitter ends Vexo');
  assert.deepEqual(page.errors, []);
  await page.close();

  page = await open(browser, server.url);
  await page.keyboard.press('Escape');
  assert.ok(await hasEnded(page), 'Escape ends Vexo');
  assert.deepEqual(page.errors, []);
  await page.close();
});

const phone = { viewport: { width: 390, height: 700, deviceScaleFactor: 2, hasTouch: true, isMobile: true } };

test('touch: a finger turns as a Shift-drag, two pinch and pan, a long press opens the menu, a double tap resets', async () => {
  const page = await stillPage(phone);
  const finger = await touch(page);
  const start = await shot(page);
  const path = [0, 1, 2, 3, 4, 5].map((i) => [100 + 6 * i, 100 + 4 * i]);
  await finger('touchStart', [path[0]]);
  for (const p of path.slice(1)) await finger('touchMove', [p]);
  await finger('touchEnd', []);
  await frames(page);
  const turned = await shot(page);
  assert.ok(!same(start, turned), 'one finger turns the die');
  await page.keyboard.press('Home');
  await frames(page);
  assert.ok(same(start, await shot(page)), 'Home gives back the start');
  await drag(page, ['Shift'], 100, 100, 30, 20);
  assert.ok(same(turned, await shot(page)), 'as a Shift-drag along the same path');
  await page.keyboard.press('Home');

  // Spread from 80 to 40 CSS px, the midpoint 10 px to the right: a quarter of the area.
  const before = dieIn(await shot(page));
  await finger('touchStart', [[85, 125], [165, 125]]);
  for (let i = 1; i <= 5; ++i) await finger('touchMove', [[85 + 6 * i, 125], [165 - 2 * i, 125]]);
  await finger('touchEnd', []);
  await frames(page);
  const pinched = dieIn(await shot(page));
  assert.ok(Math.abs(pinched.area / before.area - 0.25) < 0.02, `area ${before.area} then ${pinched.area}`);
  assert.ok(Math.abs(pinched.cx - before.cx - 20) <= 1, `moved ${pinched.cx - before.cx} device px`);
  assert.deepEqual(await page.evaluate(() => [visualViewport.scale, scrollX, scrollY]), [1, 0, 0],
    'the page itself is neither zoomed nor scrolled');

  for (let i = 0; i < 2; ++i) await finger('touchStart', [[125, 125]]), await finger('touchEnd', []);
  await frames(page);
  assert.ok(same(start, await shot(page)), 'a double tap resets the view');

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
      `the menu (${menu.x}, ${menu.y}, ${menu.width} x ${menu.height}) lies under the finger moved by ${dx}, ${dy}`);
  }
  await finger('touchStart', [[66, 70]]);
  await finger('touchEnd', []);
  assert.equal(await page.$eval('#ended', (e) => e.hidden), true, 'the tap after a long press ends nothing');
  assert.deepEqual(page.errors, []);
  await page.close();
});

const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
// Vexo embedded by a host page: `body` around an iframe of it.
const host = (path, body) => { server.replaced[path] = `<!doctype html><body style="margin:0">${body}</body>`; return server.url + path.slice(1); };

test('careless visitors: a tap while it loads, a host page\'s focus, a short embed, Escape with the menu open', async () => {
  // A tap before the module is ready throws nothing and leaves no finger behind.
  const context = await browser.createBrowserContext();  // where no service worker answers first
  const early = await open(context, server.url, { viewport: phone.viewport, hold: /vexo\.wasm$/, started: false });
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
  // Escape closes an open menu before anything else.
  await early.keyboard.press('Escape');
  assert.deepEqual(await early.evaluate(() => [document.querySelector('.menu').hidden, document.querySelector('#ended').hidden]),
    [true, true], 'Escape closed the menu and left Vexo running');
  assert.deepEqual(early.errors, []);
  await context.close();

  // A host page's focused field keeps its focus, its typing and its scroll while Vexo starts.
  const page = await browser.newPage();
  await page.setViewport({ width: 800, height: 600 });
  await page.goto(host('/host.html', '<input id="field"><div style="height:1500px"></div><iframe src="./" width="300" height="300"></iframe>'));
  await page.focus('#field');
  await page.keyboard.type('ab');
  const frame = await (await page.$('iframe')).contentFrame();
  await started(frame);
  await page.keyboard.type('c');
  assert.deepEqual(await page.evaluate(() => [document.activeElement.id, field.value, scrollY]), ['field', 'abc', 0]);

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
    const gap = Math.hypot(Math.max(menu.x - x, 0, x - menu.x - menu.width), Math.max(menu.y - y, 0, y - menu.y - menu.height));
    assert.ok(gap >= 30, `${w} x ${h}: the menu (${menu.x}, ${menu.y}, ${menu.width} x ${menu.height}) ${gap} px from the finger at ${x}, ${y}`);
    for (const d of [0, 6]) await fingers('touchStart', [[at[0] + d, at[1]]]), await fingers('touchEnd', []);
    assert.equal(await short.$eval('#ended', (e) => e.hidden), true, `${w} x ${h}: a tap after a long press ended Vexo`);
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
test('sharp at 1x, 2x and 3x: the buffer follows CSS size x density, the die centred, the pointer exact', async () => {
  for (const dpr of [1, 2, 3]) {
    const page = await stillPage({ viewport: { deviceScaleFactor: dpr } });
    assert.deepEqual(await buffer(page), [250 * dpr, 250 * dpr]);
    await drag(page, ['Control'], 125, 150, 0, -50);
    const before = dieIn(await shot(page));
    assert.ok(Math.abs(before.cx - (250 * dpr - 1) / 2) <= 1, `${dpr}x: centred at ${before.cx}`);
    await drag(page, ['Alt'], 100, 150, 40, 0);
    const moved = dieIn(await shot(page)).cx - before.cx;
    assert.ok(Math.abs(moved - 40 * dpr) <= 1, `${dpr}x: moved ${moved} device px for 40 CSS px`);
    // The page's CSS makes it smaller: the buffer follows and the die stays centred.
    await page.$eval('#canvas', (c) => { c.style.width = '150px'; });
    await page.waitForFunction((w) => document.querySelector('#canvas').width === w, {}, 150 * dpr);
    await page.keyboard.press('Home');
    await frames(page);
    const small = dieIn(await shot(page));
    assert.ok(Math.abs(small.cx - (150 * dpr - 1) / 2) <= 1 && Math.abs(small.cy - small.cx) <= 1, `${dpr}x: ${small.cx}, ${small.cy}`);
    assert.deepEqual(page.errors, []);
    await page.close();
  }
  // Fractional densities as real screens have them, where the canvas's device-pixel size is not
  // always its CSS size times the density, rounded: the buffer is exactly that size, or the
  // browser resamples the picture.
  for (const dpr of [1.25, 2.625, 2.75]) {
    const screen = await launch([`--force-device-scale-factor=${dpr}`]);
    try {
      const page = await open(screen, server.url, { viewport: { deviceScaleFactor: 0 } });
      for (const width of ['250px', '149px']) {
        await page.$eval('#canvas', (c, width) => { c.style.width = width; }, width);
        const exact = await devicePixels(page);
        await page.waitForFunction((w) => document.querySelector('#canvas').width === w, { timeout: 2000 }, exact[0])
          .catch(() => {});
        assert.deepEqual(await buffer(page), exact, `${dpr}x, ${width}: the buffer against the canvas's device pixels`);
      }
      assert.deepEqual(page.errors, []);
    } finally {
      await screen.close();
    }
  }
});

test('keys: only from the canvas and only Vexo\'s; Tab leaves; the menu from the keyboard; buttons follow', async () => {
  const page = await open(browser, server.url, { viewport: { width: 300 } });
  // What Vexo leaves to the browser, and what it takes, as the canvas's key handling decides.
  const taken = (init) => page.$eval('#canvas', (c, init) => {
    const e = new KeyboardEvent('keydown', { ...init, bubbles: true, cancelable: true });
    Object.defineProperty(e, 'keyCode', { get: () => init.keyCode });
    c.dispatchEvent(e);
    return e.defaultPrevented;
  }, init);
  // History and tab keys stay the browser's even where they are the desktop's controls.
  const browserKeys = [{ key: 'F5', keyCode: 116 }, { key: 'F12', keyCode: 123 }, { key: 'Backspace', keyCode: 8 },
    { key: 'F1', keyCode: 112, altKey: true }, { key: 'End', keyCode: 35 }, { key: 'q', keyCode: 81 }, { key: 'Shift', keyCode: 16, shiftKey: true },
    { key: 'f', keyCode: 70, ctrlKey: true }, { key: 'r', keyCode: 82, ctrlKey: true }, { key: 'c', keyCode: 67, ctrlKey: true },
    { key: '=', keyCode: 187, ctrlKey: true }, { key: '0', keyCode: 48, ctrlKey: true }, { key: 'd', keyCode: 68, altKey: true },
    { key: 'Tab', keyCode: 9 }, { key: 'ArrowLeft', keyCode: 37, altKey: true }, { key: 'ArrowRight', keyCode: 39, altKey: true },
    { key: 'Home', keyCode: 36, altKey: true }, { key: 'PageUp', keyCode: 33, ctrlKey: true }, { key: 'PageDown', keyCode: 34, ctrlKey: true },
    { key: 'ArrowLeft', keyCode: 37, metaKey: true }, { key: 'y', keyCode: 89, metaKey: true }];
  const vexoKeys = [{ key: 'x', keyCode: 88 }, { key: 'ArrowLeft', keyCode: 37, altKey: true, ctrlKey: true }, { key: 'Home', keyCode: 36 },
    { key: 'Enter', keyCode: 13, shiftKey: true }, { key: 'PageUp', keyCode: 33, ctrlKey: true, altKey: true }, { key: 'PageDown', keyCode: 34, altKey: true }];
  const wrong = [];
  for (const k of browserKeys) if (await taken(k)) wrong.push(`${JSON.stringify(k)} taken from the browser`);
  for (const k of vexoKeys) if (!(await taken(k))) wrong.push(`${JSON.stringify(k)} not Vexo's`);
  assert.deepEqual(wrong, []);

  await page.keyboard.press('Space');
  await page.waitForFunction(() => document.querySelector('#status').textContent === 'Paused.');
  assert.equal(await page.$eval('#pause', (b) => b.textContent), 'Resume', 'a key changes the label');
  await page.keyboard.press('Tab');
  assert.equal(await page.evaluate(() => document.activeElement.id), 'pause', 'Tab leaves the canvas');
  await page.keyboard.press('Enter');  // on the button, not the program's Enter
  assert.equal(await page.$eval('#pause', (b) => b.textContent), 'Pause');
  await page.click('#outlines');
  assert.equal(await page.$eval('#outlines', (b) => b.textContent), 'Faces');

  // Shift+F10 on the canvas opens the menu inside the viewport, Escape closes it and returns.
  await page.focus('#canvas');
  await page.keyboard.down('Shift'), await page.keyboard.press('F10'), await page.keyboard.up('Shift');
  const [open_, focused, lang, right] = await page.evaluate(() => [!document.querySelector('.menu').hidden,
    document.activeElement.textContent, document.activeElement.lang, document.querySelector('.menu').getBoundingClientRect().right]);
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
  assert.ok(await hasEnded(page));
  assert.equal(await page.$eval('#status', (s) => s.textContent), 'Vexo has ended.');
  // Ended, the program hears nothing more, and its canvas is no longer a Tab stop.
  await page.mouse.move(box.x + 100, box.y + 100);
  await page.mouse.wheel({ deltaY: 120 });
  await page.keyboard.press('x');
  assert.deepEqual(await page.$eval('#canvas', (c) => [c.tabIndex, c.hasAttribute('aria-describedby')]), [-1, false]);
  const cdp = await page.createCDPSession();
  const { result } = await cdp.send('Runtime.evaluate', { expression: 'window' });
  const { listeners } = await cdp.send('DOMDebugger.getEventListeners', { objectId: result.objectId });
  const input = listeners.filter((l) => /^(key|mouse|pointer|touch|wheel|DOMMouseScroll)/.test(l.type));
  assert.deepEqual(input.map((l) => l.type), [], 'no input listener is left on the window');
  assert.deepEqual(page.errors, []);
  await page.close();
});

test('readers: axe-core finds nothing; reduced motion starts still and says how to start', async () => {
  const page = await open(browser, server.url, { reducedMotion: true });
  const a = await shot(page);
  await frames(page, 10);
  assert.ok(same(a, await shot(page)), 'still under reduced motion');
  assert.equal(await page.$eval('#still', (p) => p.hidden), false);
  assert.equal(await page.$eval('#pause', (b) => b.textContent), 'Resume');
  await page.addScriptTag({ path: createRequire(import.meta.url).resolve('axe-core', { paths: [resolve(here, '../../scripts/web')] }) });
  const audit = () => page.evaluate(async () => (await axe.run()).violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target).join(' ')}`));
  assert.deepEqual(await audit(), []);
  await page.evaluate(() => vexoPage.openMenu());
  assert.deepEqual(await audit(), [], 'with the menu open');
  await page.keyboard.press('Escape');
  await page.click('#pause');
  await frames(page, 10);
  assert.ok(!same(a, await shot(page)), '"Resume" starts it');
  assert.deepEqual(page.errors, []);
  await page.close();
});

const problem = (page) => page.$eval('#problem', (p) => !p.hidden && p.innerText.replace(/\s+/g, ' ').trim());
const uncaught = (page) => page.errors.filter((e) => e.startsWith('uncaught'));

test('loading is said until the first frame; file://, no WebGL and a missing module are said too', async () => {
  // The module is asked for before the script has run: hold both and the module still comes.
  // A context of its own, where no service worker answers before the interception.
  const context = await browser.createBrowserContext();
  const page = await open(context, server.url, { hold: /vexo\.(js|wasm)$/, started: false });
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

  const file = await open(browser, `file://${root}/index.html`, { started: false });
  assert.match(await problem(file), /served over HTTP.*make web-run/);
  assert.deepEqual(uncaught(file), []);
  await file.close();

  const bare = await launch(['--disable-3d-apis']);
  try {
    const none = await open(bare, server.url, { started: false });
    await none.waitForSelector('#problem:not([hidden])');
    assert.match(await problem(none), /needs WebGL/);
    assert.deepEqual(uncaught(none), []);
  } finally {
    await bare.close();
  }
});

// A new build's offer, and the visitor taking it, which loads the page again. The tab looked
// at is brought to the front: a background tab draws no frames, and waits poll on frames.
const offered = (page) => page.bringToFront().then(() =>
  page.waitForFunction(() => !document.querySelector('#update').hidden, { timeout: 20000 }));
const take = (page) => Promise.all([page.waitForNavigation(), page.click('#take-update')]);

test('offline: after one visit from a sub-path, the page opens and draws with no network', async () => {
  const site = await serve(resolve(root, '..'));
  try {
    const url = `${site.url}${root.split('/').pop()}/`;
    const page = await open(browser, url);
    await page.evaluate(() => navigator.serviceWorker.ready);
    // A first visit fetches each file once: the service worker stores what the page fetched.
    const own = (await Promise.all(['index.html', 'vexo.js', 'vexo.wasm'].map((f) => readFile(resolve(root, f)))))
      .reduce((n, bytes) => n + gzipSync(bytes, { level: 9 }).length, 0);
    const all = Object.values(site.sent).reduce((a, b) => a + b, 0);
    assert.ok(own <= 40 * 1024, `the page, its script and its module are ${own} bytes gzipped`);
    assert.ok(all <= 1.3 * own, `a first visit took ${all} bytes for the page's ${own}: ${JSON.stringify(site.sent)}`);
    await page.setOfflineMode(true);
    await page.reload();
    await started(page);
    assert.ok(dieIn(await shot(page)).area > 1000, 'drawn offline');
    assert.ok(await page.evaluate(() => !!navigator.serviceWorker.controller));
    assert.equal(await page.$eval('#update', (p) => p.hidden), true, 'no new build yet');

    // A new build deployed: one tab, reloaded, is told that it waits, and takes it when asked;
    // a second tab's offer then loads it too.
    const other = await open(browser, url);
    const name = root.split('/').pop();
    const sw = await readFile(resolve(root, 'sw.js'), 'utf8');
    const build = sw.match(/const BUILD = '([^']*)'/)[1];
    site.replaced[`/${name}/sw.js`] = sw.replace(build, 'a-new-build');
    await page.setOfflineMode(false);
    await page.reload();
    await offered(page);
    await take(page);
    await started(page);
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
