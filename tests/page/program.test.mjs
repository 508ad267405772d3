// The program's side of the bridge (platform/web/program.js) on a worker, the compiler's runtime
// played by the test: the page's messages reach the exports in order, however early they come,
// and the program's exit ends Vexo or fails it.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import vm from 'node:vm';

const source = readFileSync(new URL('../../platform/web/program.js', import.meta.url), 'utf8');

// A worker running program.js, its exports recording their calls; `exit` makes webKey exit
// with that status, as the program's exit() unwinds.
async function worker({ exit = null } = {}) {
  const posted = [], calls = [];
  const record = (name) => (...args) => calls.push([name, ...args]);
  const Module = {};
  for (const name of ['webReshape', 'webMouse', 'webMenuChoose', 'webEnd']) Module[`_${name}`] = record(name);
  const context = vm.createContext({
    Module,
    postMessage: (message) => posted.push(Array.from(message)),  // an array of this realm
    WebAssembly: { instantiate: async () => 'instance' },
    ccall: (name, result, types, args) => {
      if (exit !== null) throw Object.assign(new Error('exit'), { name: 'ExitStatus', status: exit });
      calls.push([name, ...args]);
    },
  });
  vm.runInContext(source, context);
  let instantiated;
  const instance = new Promise((resolve) => { instantiated = resolve; });
  Module.instantiateWasm({}, instantiated);
  const fromPage = (data) => context.onmessage({ data });
  return { Module, posted, calls, fromPage, instance };
}

test('the page\'s messages reach the program in order, those sent before it ran included', async () => {
  const w = await worker();
  w.fromPage({ canvas: { width: 1, height: 1 }, module: 'module', first: [['webReshape', 300, 200, 2]] });
  w.fromPage(['webMouse', 0, 1, 5, 6, 0, 0, 0]);
  assert.equal(await w.instance, 'instance');
  w.fromPage(['webKey', 'x', 0, 0, 0]);
  w.fromPage(['notAnExport']);
  assert.deepEqual(w.calls, [], 'nothing before the program runs');
  w.Module.postRun();
  w.fromPage(['webMenuChoose', 0]);
  assert.deepEqual(w.calls, [['webReshape', 300, 200, 2], ['webMouse', 0, 1, 5, 6, 0, 0, 0],
    ['webKey', 'x', 0, 0, 0], ['webMenuChoose', 0]]);
  assert.deepEqual([w.Module.canvas.width, w.Module.canvas.height], [300, 200], 'the canvas takes the size');
  assert.deepEqual(w.posted, [['ready']]);
});

test('an exit with status 0 ends Vexo, any other fails it; nothing is heard after', async () => {
  for (const [status, told] of [[0, 'ended'], [1, 'failed']]) {
    const w = await worker({ exit: status });
    w.fromPage({ canvas: {}, module: 'module', first: [] });
    await w.instance;
    w.Module.postRun();
    w.fromPage(['webKey', 'Escape', 0, 0, 0]);
    w.fromPage(['webMouse', 0, 1, 5, 6, 0, 0, 0]);
    assert.deepEqual(w.posted, [['ready'], [told]], `status ${status}`);
    assert.deepEqual(w.calls, [['webEnd']], 'GLUT stops, and hears nothing more');
  }
});
