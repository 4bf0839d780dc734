'use strict';
const test = require('node:test');
const assert = require('node:assert/strict');
const { loadAnchor, handleFor, views } = require('./helpers.js');

test('the exports are the four functions and the platform, in order', () => {
  const anchor = loadAnchor('desktop.json');
  assert.deepEqual(Object.keys(anchor), [
    'pinAbove',
    'setWindowLevelNormal',
    'getWindowNumber',
    'describeZOrder',
    'platform',
  ]);
  for (const name of Object.keys(anchor).slice(0, 4)) {
    assert.equal(typeof anchor[name], 'function', name);
    assert.equal(anchor[name].name, name);
  }
  // Built here, for Linux; the macOS build says "darwin".
  assert.equal(anchor.platform, 'linux');
});

test('require() loads the module as the host does', () => {
  const anchor = require(require('./helpers.js').modulePath);
  assert.equal(typeof anchor.pinAbove, 'function');
});

test('without a simulated desktop the module loads and no view has a window', () => {
  const anchor = loadAnchor(undefined);
  const handle = handleFor(views.hostWindow);
  assert.equal(anchor.pinAbove(handle, 301), false);
  assert.equal(anchor.setWindowLevelNormal(handle), false);
  assert.equal(anchor.getWindowNumber(handle), 0);
  assert.deepEqual(anchor.describeZOrder(handle), { ok: false });
});

test('a scene that cannot be loaded fails the load with the reason', () => {
  assert.throws(() => loadAnchor('no-such-scene.json'), {
    name: 'Error',
    message: /no-such-scene\.json: cannot read the scene file/,
  });
});

test('every load has a desktop of its own', () => {
  const first = loadAnchor('desktop.json');
  const second = loadAnchor('desktop.json');
  const handle = handleFor(views.hostWindow);
  assert.equal(first.pinAbove(handle, 5), true);
  assert.equal(first.describeZOrder(handle).worldWindowLevel, 3);
  assert.equal(second.describeZOrder(handle).worldWindowLevel, 0);
});

test('a function outlives the exports object it came from', async () => {
  const v8 = require('node:v8');
  const vm = require('node:vm');
  v8.setFlagsFromString('--expose-gc');
  const gc = vm.runInNewContext('gc');
  let { getWindowNumber } = loadAnchor('desktop.json');
  // Nothing refers to the exports object any more; its finalizers run after
  // a collection, on a later turn.
  for (let i = 0; i < 3; i++) {
    gc();
    await new Promise((resolve) => setImmediate(resolve));
  }
  assert.equal(getWindowNumber(handleFor(views.hostWindow)), 501);
});
