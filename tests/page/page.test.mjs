// The page's script in a DOM, the program played by the test: loading and failures, the messages
// both ways, focus, the menu, announcements, input and the update note.
import { after, test } from 'node:test';
import assert from 'node:assert/strict';
import { closePages, openPage } from './page_support.mjs';

after(closePages);

test('the program on a worker gets the module, its size and the page\'s first messages in order', async () => {
  for (const [reducedMotion, box, dpr] of [[false, [250, 250], 1], [true, [300, 200], 2]]) {
    const p = await openPage({ reducedMotion, box, dpr });
    const [start] = p.workers[0].posted;
    const size = [box[0] * dpr, box[1] * dpr, dpr];
    assert.deepEqual(start.first, [['webReshape', ...size], ...(reducedMotion ? [['webKey', ' ', 0, 0, 0]] : [])]);
    assert.deepEqual([p.workers[0].url, start.module, start.canvas], ['vexo.js', 'module', 'offscreen']);
    p.doc.getElementById('pause').click();
    assert.deepEqual(p.sent, [['webKey', ' ', 0, 0, 0]], 'messages after the hand-over are posted');
    assert.equal(p.shown('#still'), false);
    p.tell('state', false, true);
    assert.equal(p.shown('#still'), reducedMotion, 'the note on a still die only under reduced motion');
  }
});

test('the program\'s words and the buttons: labels, announcements, started and ended', async () => {
  const p = await openPage();
  await p.run();
  assert.deepEqual([p.shown('#loading'), p.shown('.controls'), p.text('status')], [false, true, '']);
  for (const id of ['pause', 'outlines', 'reset']) p.doc.getElementById(id).click();
  assert.deepEqual(p.sent.splice(0), [['webKey', ' ', 0, 0, 0], ['webKey', 'Enter', 0, 0, 0], ['webResetView']]);
  p.tell('state', false, true);
  p.tell('state', false, false);
  assert.deepEqual([p.text('pause'), p.text('outlines'), p.text('status')], ['Resume', 'Faces', 'Outlines.']);
  p.tell('ended');
  const canvas = p.canvas();
  assert.deepEqual([p.text('status'), p.shown('#ended'), p.shown('.controls'), canvas.hasAttribute('tabindex'),
    canvas.hasAttribute('aria-describedby')], ['Vexo has ended.', true, false, false, false]);
  assert.equal(p.doc.activeElement.id, 'restart');
  p.fire(p.canvas(), 'mousedown', { button: 0 });
  assert.deepEqual(p.sent, [], 'nothing reaches an ended program');
});

test('what cannot run is said, and where a worker cannot draw the program runs here', async () => {
  const failures = [
    [{ file: true }, (p) => p, /served over HTTP/],
    [{ fetchFails: true }, (p) => p, /could not be loaded/],
    [{}, (p) => p.workers[0].onerror({ preventDefault() {} }), /could not be loaded/],
    [{}, (p) => (p.tell('ready'), p.workers[0].onerror({ preventDefault() {} })), /stopped after an error/],
    [{}, (p) => (p.tell('ready'), p.tell('failed')), /stopped after an error/],
    [{ worker: false }, (p) => p.tell('noWebGL'), /needs WebGL/],
  ];
  for (const [options, act, said] of failures) {
    const p = await openPage(options);
    act(p);
    await new Promise((resolve) => setTimeout(resolve, 0));
    assert.match(p.text('problem-text'), said, JSON.stringify(options));
    assert.ok(p.shown('#problem') && !p.shown('#loading'));
  }
  const p = await openPage();
  const canvas = p.canvas();
  p.tell('noWebGL');
  assert.ok(p.workers[0].terminated && p.canvas() !== canvas, 'a fresh canvas');
  assert.deepEqual(p.win.Module.first, [['webReshape', 250, 250, 1]], 'the first messages again, for the program here');
  p.loadHere();
  p.tell('ready');
  p.fire(p.canvas(), 'keydown', { key: 'x' });
  assert.deepEqual(p.sent, [['webKey', 'x', false, false, false]], 'the new canvas takes the keys');
  assert.equal(p.shown('#problem'), false);
});

test('the canvas takes the keys at start unless focus is elsewhere', async () => {
  for (const [options, focused] of [[{}, true], [{ focused: 'retry' }, false],
    [{ embedded: true }, true], [{ embedded: 'unfocused' }, false]]) {
    const p = await openPage(options);
    p.tell('ready');
    assert.equal(p.doc.activeElement === p.canvas(), focused, JSON.stringify(options));
  }
});

test('mouse and keys reach the program as GLUT takes them; its menu is the page\'s', async () => {
  const p = await openPage();
  await p.run();
  const c = p.canvas();
  p.doc.getElementById('pause').focus();
  p.fire(c, 'mousedown', { button: 0, clientX: 18, clientY: 50, shiftKey: true });
  for (const [x, y] of [[28, 50], [28, 60], [28, 60]]) p.fire(p.win, 'mousemove', { clientX: x, clientY: y });
  p.fire(p.win, 'mouseup', { button: 0, clientX: 28, clientY: 60 });
  p.fire(p.win, 'mousemove', { clientX: 40, clientY: 60 });
  assert.deepEqual(p.sent.splice(0), [['webMouse', 0, 1, 10, 10, true, false, false], ['webMotion', 20, 10],
    ['webMotion', 20, 20], ['webMouse', 0, 0, 20, 20, false, false, false]], 'either axis moves, until the release');
  assert.equal(p.doc.activeElement, c, 'a press gives the canvas the keys');
  p.fire(p.doc.getElementById('pause'), 'keydown', { key: 'x' });
  assert.deepEqual(p.sent, [], 'keys elsewhere are not the program\'s');
  // Which keys are the program's: arithmetic.test.mjs; here, that the canvas's keys are decided so.
  for (const [init, message] of [[{ key: 'x' }, ['webKey', 'x', false, false, false]], [{ key: 'q' }, null]]) {
    const event = p.fire(c, 'keydown', init);
    assert.deepEqual([p.sent.splice(0)[0] ?? null, event.defaultPrevented], [message, !!message], JSON.stringify(init));
  }
  p.fire(c, 'mousedown', { button: 2 });
  assert.ok(p.shown('.menu') && p.doc.activeElement.textContent === 'Quitter', 'the right button opens the menu');
  assert.deepEqual(p.sent, [], 'and is not the program\'s');
  p.fire(p.doc.activeElement, 'keydown', { key: 'Escape' });
  assert.ok(!p.shown('.menu') && p.doc.activeElement === c && p.sent.length === 0, 'Escape closes the menu only');
  p.fire(c, 'keydown', { key: 'ContextMenu' });
  p.doc.querySelector('.menu button').click();
  assert.deepEqual(p.sent, [['webMenuChoose', 0]]);
  assert.equal(p.shown('.menu'), false);
});

test('touch: a finger turns, a double tap resets, two fingers pinch', async () => {
  const p = await openPage();
  await p.run();
  const c = p.canvas();
  const finger = (type, id, x, y) =>
    p.fire(c, `pointer${type}`, { pointerId: id, pointerType: 'touch', clientX: 8 + x, clientY: 40 + y });
  assert.ok(finger('down', 1, 100, 100).defaultPrevented, 'no mouse events made up from the finger');
  finger('move', 1, 130, 120), finger('move', 1, 130, 120), finger('up', 1, 130, 120);
  assert.deepEqual(p.sent.splice(0), [['webTurnBegin', 100, 100], ['webTurnMove', 130, 120], ['webTurnEnd', 130, 120]]);
  for (let i = 0; i < 2; ++i) finger('down', 1, 60, 60), finger('up', 1, 60, 60);
  assert.deepEqual(p.sent.splice(0).at(-1), ['webResetView'], 'a double tap resets the view');
  finger('down', 1, 100, 100), finger('down', 2, 140, 100), finger('move', 2, 180, 100);
  assert.deepEqual(p.sent.splice(0).slice(-2), [['webPinchBegin', 120, 100], ['webPinchMove', 2, 140, 100]]);
});

test('the buffer follows the canvas: either side, and the density', async () => {
  const p = await openPage({ dpr: 2 });
  await p.run();
  for (const [w, h, box, told] of [[250, 120, null, [500, 240, 2]], [250, 120, null, null],
    [251, 120, [{ devicePixelContentBoxSize: [{ inlineSize: 503, blockSize: 240 }] }], [503, 240, 503 / 251]]]) {
    p.resize(w, h, box);
    assert.deepEqual(p.sent.splice(0), told ? [['webReshape', ...told]] : [], `${w} x ${h}`);
  }
});

test('a new build is offered only to a page that a build already serves', async () => {
  for (const controller of [null, {}]) {
    const listeners = {}, waiting = { state: 'installed', posted: [], postMessage(m) { this.posted.push(m); } };
    const registration = { waiting, addEventListener() {} };
    const serviceWorker = { controller, register: async () => registration,
      addEventListener: (t, f) => { listeners[t] = f; } };
    const p = await openPage({ serviceWorker });
    if (p.doc.readyState !== 'complete') await new Promise((resolve) => p.win.addEventListener('load', resolve));
    await new Promise((resolve) => setTimeout(resolve, 0));
    assert.equal(p.shown('#update'), !!controller, controller ? 'an update' : 'a first visit');
    p.doc.getElementById('take-update').click();
    assert.deepEqual(waiting.posted, controller ? ['take over'] : []);
  }
});
