// The web page in headless Chromium, driven as a person would, judged by screenshots of its
// canvas. BUILD names the folder `make web` built (build-web by default).
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { resolve } from 'node:path';
import { dieIn, drag, frames, launch, open, pixel, releaseTimers, serve, shot } from '../../scripts/web/support.mjs';

const root = resolve(process.env.BUILD || resolve(import.meta.dirname, '../../build-web'));
let server, browser;
before(async () => { server = await serve(root); browser = await launch(); });
after(async () => { await browser?.close(); server?.close(); });

const same = (a, b) => a.rgb.equals(b.rgb);
function near(observed, expected, tolerance, where) {
  const ok = observed.every((v, i) => Math.abs(v - expected[i]) <= tolerance);
  assert.ok(ok, `${where}: expected ${expected} ±${tolerance}, observed ${observed}`);
}
// A page whose spin is held by space, so that every picture is the same until input moves it.
async function stillPage() {
  const page = await open(browser, server.url);
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
  for (const [x, y] of [[2, 2], [247, 247]]) near(pixel(first, x, y), [128, 128, 128], 3, `corner (${x}, ${y})`);

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
  await page.keyboard.down('Shift');
  for (let i = 0; i < 5; ++i) await page.keyboard.press('X');
  await page.keyboard.up('Shift');
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
