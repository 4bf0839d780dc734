'use strict';
const test = require('node:test');
const assert = require('node:assert/strict');
const { loadAnchor, handleFor, views } = require('./helpers.js');

const anchor = loadAnchor('desktop.json');
const handle = handleFor(views.hostWindow);

const signatures = {
  pinAbove: 'pinAbove(handleBuffer, targetCgWindowId)',
  setWindowLevelNormal: 'setWindowLevelNormal(handleBuffer)',
  getWindowNumber: 'getWindowNumber(handleBuffer)',
  describeZOrder: 'describeZOrder(handleBuffer)',
};

// Values that are not a handle: napi_is_buffer accepts a Buffer and, on
// Node 20, every typed array and DataView, nothing else.
const notHandles = [
  ['undefined', undefined],
  ['null', null],
  ['a number', 0x600000001000],
  ['a BigInt', 0x600000001000n],
  ['a string', '\x00\x10\x00\x00\x00\x60\x00\x00'],
  ['an array of bytes', [0x00, 0x10, 0x00, 0x00, 0x00, 0x60, 0x00, 0x00]],
  ['an ArrayBuffer', handle.buffer.slice(handle.byteOffset, handle.byteOffset + 8)],
  ['an object with the Buffer fields', { buffer: handle.buffer, byteLength: 8, length: 8 }],
];

// The call throws exactly this TypeError and so returns nothing.
function assertTypeError(call, message, label = '') {
  let returned = false;
  assert.throws(
    () => {
      call();
      returned = true;
    },
    (error) => {
      assert.ok(error instanceof TypeError, `${message} ${label}: ${error}`);
      assert.equal(error.message, message, label);
      return true;
    },
  );
  assert.equal(returned, false);
}

test('too few arguments throw the signature as a TypeError', () => {
  for (const [name, message] of Object.entries(signatures)) {
    assertTypeError(() => anchor[name](), message);
  }
  assertTypeError(() => anchor.pinAbove(handle), signatures.pinAbove);
});

test('a handle that is not a Buffer throws the TypeError', () => {
  for (const [label, value] of notHandles) {
    for (const [name, message] of Object.entries(signatures)) {
      assertTypeError(() => anchor[name](value, 301), message, label);
    }
  }
});

test('a target id that is not a number throws the TypeError', () => {
  for (const id of ['301', '', 301n, undefined, null, new Number(301), {}, [301], true]) {
    assertTypeError(() => anchor.pinAbove(handle, id), signatures.pinAbove, String(id));
  }
  // The arguments are checked in order: the id is not converted after all.
  assertTypeError(() => anchor.pinAbove('handle', 301), signatures.pinAbove);
  assert.equal(anchor.describeZOrder(handle).worldWindowLevel, 0);
});

test('extra arguments are ignored', () => {
  const local = loadAnchor('desktop.json');
  assert.equal(local.getWindowNumber(handle, 'extra', {}), 501);
  assert.equal(local.describeZOrder(handle, null).worldWindowNumber, 501);
  assert.equal(local.pinAbove(handle, 5, 'extra', 7), true);
  assert.equal(local.setWindowLevelNormal(handle, 3), true);
  assert.equal(local.describeZOrder(handle).worldWindowLevel, 0);
});

test('a Uint8Array holding the address is a handle like the Buffer', () => {
  const local = loadAnchor('desktop.json');
  const bytes = new Uint8Array(8);
  bytes.set(handle);
  assert.equal(Buffer.isBuffer(bytes), false);
  assert.equal(local.getWindowNumber(bytes), 501);
  assert.equal(local.pinAbove(bytes, 5), true);
  assert.equal(local.describeZOrder(bytes).worldWindowLevel, 3);
  // Any other view reads the same bytes.
  assert.equal(local.getWindowNumber(new DataView(bytes.buffer)), 501);
  assert.equal(local.getWindowNumber(new BigUint64Array(bytes.buffer)), 501);
});
