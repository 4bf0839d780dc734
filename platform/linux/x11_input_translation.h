// What the X server says about the keyboard and the pointer, translated to
// the macOS terms input-sentinel reads: virtual key codes, event flag bits
// and mouse buttons. Pure functions over the server's replies.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace tessary::linuxdesktop {

// GetKeyboardMapping's reply: keysymsPerKeycode keysyms for each keycode
// from minKeycode on.
struct KeyboardMapping {
  uint8_t minKeycode = 0;
  uint8_t keysymsPerKeycode = 0;
  std::vector<uint32_t> keysyms;
};

// QueryKeymap's reply: one bit per keycode, keycode 8 is bit 0 of byte 1.
using Keymap = std::array<uint8_t, 32>;

// Every keycode whose keysyms include `keysym` (a key may sit on several
// keycodes, and several keys may produce it).
std::vector<uint8_t> keycodesProducing(const KeyboardMapping& mapping, uint32_t keysym);

bool anyKeyDown(const Keymap& keymap, const std::vector<uint8_t>& keycodes);

// The keysym of the key a macOS virtual key code names; nothing for the
// codes this backend does not translate.
std::optional<uint32_t> keysymOfMacKeyCode(uint16_t macKeyCode);

// The keycodes of each modifier the flags name.
struct ModifierKeycodes {
  std::vector<uint8_t> shift, control, alternate, command;
};
ModifierKeycodes modifierKeycodes(const KeyboardMapping& mapping);

// CGEventFlags bits for the modifiers held in `keymap`.
uint64_t macFlagsOf(const Keymap& keymap, const ModifierKeycodes& modifiers);

// Whether the CGMouseButton is down in QueryPointer's button mask.
bool macButtonDown(uint16_t pointerMask, uint32_t macButton);

// The next firing of a repeating timer that was due at `deadline`, now that
// it is `now`: one interval on, or the first time on the timer's grid after
// `now` when firings were missed (a late timer skips them rather than
// firing in a burst).
double nextFiring(double deadline, double now, double interval);

}  // namespace tessary::linuxdesktop
