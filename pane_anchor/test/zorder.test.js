'use strict';
const test = require('node:test');
const assert = require('node:assert/strict');
const { loadAnchor, handleFor, views } = require('./helpers.js');

const describeKeys = ['ok', 'worldWindowNumber', 'worldWindowLevel', 'worldIndexInOnScreenList', 'windowsAbove'];
const windowKeys = ['windowNumber', 'owner', 'layer'];

// The whole object, with the order of every object's keys.
function assertDescription(actual, expected) {
  assert.deepEqual(Object.keys(actual), describeKeys);
  actual.windowsAbove.forEach((window, i) => assert.deepEqual(Object.keys(window), windowKeys, `entry ${i}`));
  assert.ok(Array.isArray(actual.windowsAbove));
  assert.deepStrictEqual(actual, expected);
}

test('the frontmost window is at index 0 with nothing above it', () => {
  const anchor = loadAnchor('frontmost.json');
  assertDescription(anchor.describeZOrder(handleFor(views.overlay)), {
    ok: true,
    worldWindowNumber: 500,
    worldWindowLevel: 25,
    worldIndexInOnScreenList: 0,
    windowsAbove: [],
  });
});

test('a window behind two others lists both, frontmost first', () => {
  const anchor = loadAnchor('behind-two.json');
  assertDescription(anchor.describeZOrder(handleFor(views.hostWindow)), {
    ok: true,
    worldWindowNumber: 501,
    worldWindowLevel: 0,
    worldIndexInOnScreenList: 2,
    windowsAbove: [
      { windowNumber: 200, owner: 'Dock', layer: 20 },
      { windowNumber: 301, owner: 'Mail', layer: 0 },
    ],
  });
});

test('a window that is not on screen gets -1 and every on-screen window', () => {
  const anchor = loadAnchor('desktop.json');
  assertDescription(anchor.describeZOrder(handleFor(views.hiddenWindow)), {
    ok: true,
    worldWindowNumber: 502,
    worldWindowLevel: 0,
    worldIndexInOnScreenList: -1,
    windowsAbove: [
      { windowNumber: 200, owner: 'Dock', layer: 20 },
      { windowNumber: 5, owner: 'Calendar', layer: 3 },
      { windowNumber: 4294967295, owner: 'Terminal', layer: 3 },
      { windowNumber: 301, owner: 'Mail', layer: 0 },
      { windowNumber: 501, owner: 'Tessary', layer: 0 },
      { windowNumber: 302, owner: 'Notes', layer: 0 },
    ],
  });
});

test('an unavailable window list gives -1, nothing above, and ok', () => {
  const anchor = loadAnchor('list-fails.json');
  assertDescription(anchor.describeZOrder(handleFor(views.hostWindow)), {
    ok: true,
    worldWindowNumber: 501,
    worldWindowLevel: 3,
    worldIndexInOnScreenList: -1,
    windowsAbove: [],
  });
});

test('an entry without a number is counted but not listed; a missing owner and layer default', () => {
  const anchor = loadAnchor('sparse-entries.json');
  assertDescription(anchor.describeZOrder(handleFor(views.hostWindow)), {
    ok: true,
    worldWindowNumber: 501,
    worldWindowLevel: 0,
    worldIndexInOnScreenList: 2,
    windowsAbove: [{ windowNumber: 601, owner: '', layer: 0 }],
  });
});

test('an unusable handle gives { ok: false } only', () => {
  const anchor = loadAnchor('desktop.json');
  const description = anchor.describeZOrder(Buffer.alloc(4));
  assert.deepEqual(Object.keys(description), ['ok']);
  assert.deepStrictEqual(description, { ok: false });
});
