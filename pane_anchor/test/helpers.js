'use strict';
// Loads the module against a scene of the simulated desktop, and builds
// handles as the host's getNativeWindowHandle() does.
const os = require('node:os');
const path = require('node:path');

// The build's module unless PANE_ANCHOR_MODULE names another.
const modulePath = path.resolve(
  process.env.PANE_ANCHOR_MODULE ?? path.join(__dirname, '..', '..', 'build', 'lib', 'pane_anchor.node'),
);

// A fresh load of the module: the scene is read when the module loads, and
// every load has a desktop of its own. No scene: the variable is unset.
function loadAnchor(scene) {
  const saved = process.env.TESSARY_SIM_DESKTOP;
  if (scene === undefined) {
    delete process.env.TESSARY_SIM_DESKTOP;
  } else {
    process.env.TESSARY_SIM_DESKTOP = path.join(__dirname, 'scenes', scene);
  }
  try {
    const module = { exports: {} };
    process.dlopen(module, modulePath);
    return module.exports;
  } finally {
    if (saved === undefined) delete process.env.TESSARY_SIM_DESKTOP;
    else process.env.TESSARY_SIM_DESKTOP = saved;
  }
}

// 8 bytes holding the view's address in the machine's byte order.
function handleFor(address) {
  const handle = Buffer.alloc(8);
  if (os.endianness() === 'LE') handle.writeBigUInt64LE(address);
  else handle.writeBigUInt64BE(address);
  return handle;
}

const views = {
  hostWindow: 0x600000001000n,
  hiddenWindow: 0x600000002000n,
  neverShown: 0x600000003000n,
  noWindow: 0x600000004000n,
  overlay: 0x600000005000n,
};

module.exports = { loadAnchor, handleFor, views, modulePath };
