'use strict';
const test = require('node:test');
const assert = require('node:assert/strict');
const { loadAnchor, handleFor, views } = require('./helpers.js');

const unusable = (address) => [
  ['a 4-byte Buffer', handleFor(address).subarray(0, 4)],
  ['a 7-byte Buffer', handleFor(address).subarray(0, 7)],
  ['an empty Buffer', Buffer.alloc(0)],
];

// Each function's answer for a handle that is not usable; no exception.
function assertUnusable(anchor, handle, label) {
  assert.equal(anchor.pinAbove(handle, 301), false, label);
  assert.equal(anchor.setWindowLevelNormal(handle), false, label);
  assert.equal(anchor.getWindowNumber(handle), 0, label);
  const description = anchor.describeZOrder(handle);
  assert.deepEqual(Object.keys(description), ['ok'], label);
  assert.equal(description.ok, false, label);
}

test('short Buffers, address zero and views without a window are not usable', () => {
  const anchor = loadAnchor('desktop.json');
  const cases = [
    ...unusable(views.hostWindow),
    ['address zero', handleFor(0n)],
    ['address zero followed by a view address', Buffer.concat([handleFor(0n), handleFor(views.hostWindow)])],
    ['a view without a window', handleFor(views.noWindow)],
    ['an address that is no view', handleFor(0x600000009000n)],
  ];
  for (const [label, handle] of cases) assertUnusable(anchor, handle, label);
  // Nothing was changed on the way.
  const host = anchor.describeZOrder(handleFor(views.hostWindow));
  assert.equal(host.worldWindowLevel, 0);
  assert.equal(host.worldIndexInOnScreenList, 4);
});

test('the address is read from the bytes wherever they lie', () => {
  const anchor = loadAnchor('desktop.json');
  // Odd offset inside a larger allocation, with more bytes after the address.
  const storage = Buffer.alloc(32, 0xee);
  handleFor(views.hostWindow).copy(storage, 3);
  assert.equal(anchor.getWindowNumber(storage.subarray(3)), 501);
  assert.equal(anchor.getWindowNumber(storage.subarray(3, 11)), 501);
  // The Buffer's own memory is not the view.
  assert.equal(anchor.getWindowNumber(storage.subarray(4, 12)), 0);
});

test('two views in different windows answer for their own window', () => {
  const anchor = loadAnchor('desktop.json');
  assert.equal(anchor.getWindowNumber(handleFor(views.hostWindow)), 501);
  assert.equal(anchor.getWindowNumber(handleFor(views.hiddenWindow)), 502);
  assert.equal(anchor.getWindowNumber(handleFor(views.neverShown)), 0);
});
