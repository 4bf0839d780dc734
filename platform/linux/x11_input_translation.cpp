#include "platform/linux/x11_input_translation.h"

#include <cmath>
#include <utility>

namespace tessary::linuxdesktop {

namespace {

// X keysyms (X11/keysymdef.h).
constexpr uint32_t kShiftL = 0xffe1, kShiftR = 0xffe2;
constexpr uint32_t kControlL = 0xffe3, kControlR = 0xffe4;
constexpr uint32_t kMetaL = 0xffe7, kMetaR = 0xffe8;
constexpr uint32_t kAltL = 0xffe9, kAltR = 0xffea;
constexpr uint32_t kSuperL = 0xffeb, kSuperR = 0xffec;

// CGEventFlags masks.
constexpr uint64_t kFlagShift = 0x20000;
constexpr uint64_t kFlagControl = 0x40000;
constexpr uint64_t kFlagAlternate = 0x80000;
constexpr uint64_t kFlagCommand = 0x100000;

// QueryPointer's mask bits (XCB_BUTTON_MASK_1..3).
constexpr uint16_t kButton1Mask = 0x100, kButton2Mask = 0x200, kButton3Mask = 0x400;

std::vector<uint8_t> keycodesProducingAny(const KeyboardMapping& mapping,
                                          std::initializer_list<uint32_t> keysyms) {
  std::vector<uint8_t> keycodes;
  for (uint32_t keysym : keysyms) {
    for (uint8_t keycode : keycodesProducing(mapping, keysym))
      keycodes.push_back(keycode);
  }
  return keycodes;
}

}  // namespace

std::vector<uint8_t> keycodesProducing(const KeyboardMapping& mapping, uint32_t keysym) {
  std::vector<uint8_t> keycodes;
  const size_t per = mapping.keysymsPerKeycode;
  if (per == 0) return keycodes;
  for (size_t index = 0; index < mapping.keysyms.size(); ++index) {
    if (mapping.keysyms[index] != keysym) continue;
    const size_t keycode = mapping.minKeycode + index / per;
    if (keycode > 255) break;
    if (keycodes.empty() || keycodes.back() != keycode)
      keycodes.push_back(static_cast<uint8_t>(keycode));
  }
  return keycodes;
}

bool anyKeyDown(const Keymap& keymap, const std::vector<uint8_t>& keycodes) {
  for (uint8_t keycode : keycodes) {
    if (keymap[keycode / 8] & (1u << (keycode % 8))) return true;
  }
  return false;
}

std::optional<uint32_t> keysymOfMacKeyCode(uint16_t macKeyCode) {
  // kVK_* from HIToolbox/Events.h and the keys they stand for.
  static constexpr std::pair<uint16_t, uint32_t> kKeys[] = {
      {36, 0xff0d},     // Return
      {48, 0xff09},     // Tab
      {49, 0x0020},     // space
      {51, 0xff08},     // Delete: BackSpace
      {53, 0xff1b},     // Escape
      {55, kSuperL},    // Command
      {56, kShiftL},    // Shift
      {58, kAltL},      // Option
      {59, kControlL},  // Control
      {60, kShiftR},    // RightShift
      {61, kAltR},      // RightOption
      {62, kControlR},  // RightControl
      {54, kSuperR},    // RightCommand
  };
  for (const auto& [code, keysym] : kKeys) {
    if (code == macKeyCode) return keysym;
  }
  return std::nullopt;
}

ModifierKeycodes modifierKeycodes(const KeyboardMapping& mapping) {
  return {keycodesProducingAny(mapping, {kShiftL, kShiftR}),
          keycodesProducingAny(mapping, {kControlL, kControlR}),
          keycodesProducingAny(mapping, {kAltL, kAltR, kMetaL, kMetaR}),
          keycodesProducingAny(mapping, {kSuperL, kSuperR})};
}

uint64_t macFlagsOf(const Keymap& keymap, const ModifierKeycodes& modifiers) {
  uint64_t flags = 0;
  if (anyKeyDown(keymap, modifiers.shift)) flags |= kFlagShift;
  if (anyKeyDown(keymap, modifiers.control)) flags |= kFlagControl;
  if (anyKeyDown(keymap, modifiers.alternate)) flags |= kFlagAlternate;
  if (anyKeyDown(keymap, modifiers.command)) flags |= kFlagCommand;
  return flags;
}

bool macButtonDown(uint16_t pointerMask, uint32_t macButton) {
  // kCGMouseButtonLeft, Right, Center; X numbers them 1, 3, 2.
  switch (macButton) {
    case 0:
      return (pointerMask & kButton1Mask) != 0;
    case 1:
      return (pointerMask & kButton3Mask) != 0;
    case 2:
      return (pointerMask & kButton2Mask) != 0;
    default:
      return false;
  }
}

double nextFiring(double deadline, double now, double interval) {
  double next = deadline + interval;
  if (next > now || !(interval > 0)) return next;
  return deadline + (std::floor((now - deadline) / interval) + 1) * interval;
}

}  // namespace tessary::linuxdesktop
