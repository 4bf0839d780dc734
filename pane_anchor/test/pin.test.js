'use strict';
const test = require('node:test');
const assert = require('node:assert/strict');
const { loadAnchor, handleFor, views } = require('./helpers.js');

const host = handleFor(views.hostWindow);

// The on-screen order as window numbers, front to back, ending with the
// host's window.
function inFront(anchor, handle = host) {
  return anchor.describeZOrder(handle).windowsAbove.map((window) => window.windowNumber);
}

test('pinAbove floats the window directly above the target; setWindowLevelNormal brings it back', () => {
  const anchor = loadAnchor('desktop.json');
  assert.equal(anchor.describeZOrder(host).worldWindowLevel, 0);
  assert.equal(anchor.pinAbove(host, 4294967295), true);
  let description = anchor.describeZOrder(host);
  assert.equal(description.worldWindowLevel, 3);
  assert.deepEqual(inFront(anchor), [200, 5]);
  assert.equal(description.worldIndexInOnScreenList, 2);

  assert.equal(anchor.setWindowLevelNormal(host), true);
  description = anchor.describeZOrder(host);
  assert.equal(description.worldWindowLevel, 0);
  // At the front of the normal windows again.
  assert.deepEqual(inFront(anchor), [200, 5, 4294967295]);
});

test('the target id is converted to an unsigned 32-bit number', () => {
  // The floating windows 5 and 4294967295 show where the window went.
  const cases = [
    [5, [200]],
    [5.9, [200]],
    [2 ** 32 + 5, [200]],
    [-1, [200, 5]],
    [-1.5, [200, 5]],
    [2 ** 32 - 1, [200, 5]],
    [-(2 ** 32) + 5, [200]],
  ];
  for (const [id, expected] of cases) {
    const anchor = loadAnchor('desktop.json');
    assert.equal(anchor.pinAbove(host, id), true, String(id));
    assert.deepEqual(inFront(anchor), expected, String(id));
  }
});

test('a target id that converts to 0 gives false and leaves the window alone', () => {
  for (const id of [0, -0, 0.5, NaN, Infinity, -Infinity, 2 ** 32, 2 ** 40]) {
    const anchor = loadAnchor('desktop.json');
    assert.equal(anchor.pinAbove(host, id), false, String(id));
    const description = anchor.describeZOrder(host);
    assert.equal(description.worldWindowLevel, 0, String(id));
    assert.equal(description.worldIndexInOnScreenList, 4, String(id));
  }
});

test('pinAbove on a window that has no number yet gives false but floats it', () => {
  const anchor = loadAnchor('desktop.json');
  const neverShown = handleFor(views.neverShown);
  assert.equal(anchor.pinAbove(neverShown, 301), false);
  const description = anchor.describeZOrder(neverShown);
  assert.equal(description.worldWindowNumber, 0);
  assert.equal(description.worldWindowLevel, 3);
  assert.equal(anchor.setWindowLevelNormal(neverShown), true);
  assert.equal(anchor.describeZOrder(neverShown).worldWindowLevel, 0);
});

test('pinning a hidden window shows it above the target', () => {
  const anchor = loadAnchor('desktop.json');
  const hidden = handleFor(views.hiddenWindow);
  assert.equal(anchor.describeZOrder(hidden).worldIndexInOnScreenList, -1);
  assert.equal(anchor.pinAbove(hidden, 5), true);
  assert.deepEqual(inFront(anchor, hidden), [200]);
  assert.equal(anchor.describeZOrder(hidden).worldIndexInOnScreenList, 1);
});

test('setWindowLevelNormal on a normal window keeps its place', () => {
  const anchor = loadAnchor('desktop.json');
  assert.equal(anchor.setWindowLevelNormal(host), true);
  assert.deepEqual(inFront(anchor), [200, 5, 4294967295, 301]);
});
