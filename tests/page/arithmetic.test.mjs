// The page's plain functions: which keys the program gets, the drawing buffer, taps and the
// menu's place.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { keyMessage, opensMenu } from '../../platform/web/page/keys.js';
import { bufferSize, isDoubleTap, toBuffer, FINGER_PX, DOUBLE_TAP_MS } from '../../platform/web/page/gestures.js';
import { menuAwayFrom } from '../../platform/web/page/menu.js';

test('keys: the browser keeps its own, Ctrl + Alt + Page stands for Ctrl + Page', () => {
  const table = { ' ': 1, PageUp: 255, ArrowLeft: 255, Home: 255, '[': 255 };
  const cases = [
    [{ key: ' ' }, ['webKey', ' ', false, false, false]],
    [{ key: ' ', shiftKey: true }, null],
    [{ key: 'q' }, null],
    [{ key: 'PageUp', ctrlKey: true }, null],
    [{ key: 'PageUp', ctrlKey: true, altKey: true }, ['webKey', 'PageUp', false, true, false]],
    [{ key: 'ArrowLeft', ctrlKey: true, altKey: true }, ['webKey', 'ArrowLeft', false, true, true]],
    [{ key: 'ArrowLeft', altKey: true }, null],
    [{ key: 'Home', altKey: true }, null],
    [{ key: '[', metaKey: true }, null],
  ];
  for (const [event, message] of cases) {
    const e = { shiftKey: false, ctrlKey: false, altKey: false, metaKey: false, ...event };
    assert.deepEqual(keyMessage(e, table), message, JSON.stringify(event));
  }
  const menuKeys = [[{ key: 'ContextMenu' }, true], [{ key: 'F10', shiftKey: true }, true], [{ key: 'F10' }, false],
    [{ key: 'x', shiftKey: true }, false]];
  for (const [event, opens] of menuKeys) assert.equal(!!opensMenu(event), opens, JSON.stringify(event));
});

test('the buffer is the canvas\'s size in device pixels, exact where the browser says', () => {
  const cases = [
    [[250, 250, 1, null], [250, 250, 1]],
    [[300, 200, 2, null], [600, 400, 2]],
    [[251, 120, 2, [503, 240]], [503, 240, 503 / 251]],
    [[250, 250, 2, [250, 250]], [500, 500, 2]],  // an emulated screen: the product
    [[0, 0, 3, null], [1, 1, 3]],
  ];
  for (const [args, size] of cases) assert.deepEqual(bufferSize(...args), size, JSON.stringify(args));
  // A page point on a scrolled page, to the pixel under it in a buffer twice the box's size.
  assert.deepEqual(toBuffer({ pageX: 30, pageY: 70 }, { left: 10, top: 20, width: 100, height: 50 }, [5, 10],
    [200, 100]), [30, 80]);
});

test('taps and the menu\'s place under a finger', () => {
  const tap = { time: 1000, pageX: 50, pageY: 50 };
  assert.ok(isDoubleTap({ ...tap, time: 1000 - DOUBLE_TAP_MS + 1 }, tap));
  assert.ok(!isDoubleTap({ ...tap, time: 1000 - DOUBLE_TAP_MS }, tap) && !isDoubleTap(null, tap));
  assert.ok(!isDoubleTap({ ...tap, pageX: 90 }, tap));
  const size = [100, 40];
  const view = (height) => ({ left: 0, top: 0, width: 400, height });
  assert.deepEqual(menuAwayFrom([200, 200], size, view(400)), [150, 200 - FINGER_PX - 40, FINGER_PX], 'above');
  const [x, , gap] = menuAwayFrom([200, 30], size, view(60));
  assert.ok(x >= 200 + FINGER_PX && gap >= FINGER_PX, 'beside it in a short view');
});
