#include "platform/linux/x11_input_translation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "platform/clock.h"
#include "platform/linux/x11_input_state.h"

namespace tessary::linuxdesktop {
namespace {

// A small server layout: two keysyms per keycode from keycode 8; Shift and
// Control on both sides, Escape, and Alt_L/Meta_L sharing one key.
KeyboardMapping sampleMapping() {
  KeyboardMapping mapping;
  mapping.minKeycode = 8;
  mapping.keysymsPerKeycode = 2;
  mapping.keysyms.assign(2 * 60, 0);
  auto put = [&](int keycode, uint32_t first, uint32_t second) {
    mapping.keysyms[2 * (keycode - 8)] = first;
    mapping.keysyms[2 * (keycode - 8) + 1] = second;
  };
  put(9, 0xff1b, 0);        // Escape
  put(37, 0xffe3, 0);       // Control_L
  put(50, 0xffe1, 0);       // Shift_L
  put(62, 0xffe2, 0);       // Shift_R
  put(64, 0xffe9, 0xffe7);  // Alt_L, Meta_L
  put(66, 0, 0xffe4);       // Control_R as a second keysym
  return mapping;
}

Keymap keysDown(std::initializer_list<uint8_t> keycodes) {
  Keymap keymap{};
  for (uint8_t keycode : keycodes)
    keymap[keycode / 8] |= 1u << (keycode % 8);
  return keymap;
}

TEST(X11InputTranslation, KeycodesAreFoundAtAnyLevelOfTheMapping) {
  KeyboardMapping mapping = sampleMapping();
  EXPECT_EQ(keycodesProducing(mapping, 0xff1b), std::vector<uint8_t>{9});
  EXPECT_EQ(keycodesProducing(mapping, 0xffe4), std::vector<uint8_t>{66});
  EXPECT_EQ(keycodesProducing(mapping, 0xffe7), std::vector<uint8_t>{64});
  EXPECT_TRUE(keycodesProducing(mapping, 0x0061).empty());
  // A server that reports no keysyms per keycode maps nothing.
  mapping.keysymsPerKeycode = 0;
  EXPECT_TRUE(keycodesProducing(mapping, 0xff1b).empty());
}

TEST(X11InputTranslation, HeldModifiersBecomeTheMacFlagBits) {
  ModifierKeycodes modifiers = modifierKeycodes(sampleMapping());
  struct Case {
    Keymap keymap;
    uint64_t flags;
  } cases[] = {
      {keysDown({}), 0},
      {keysDown({37}), 0x40000},      // Control_L
      {keysDown({66}), 0x40000},      // Control_R
      {keysDown({50}), 0x20000},      // Shift_L
      {keysDown({62, 37}), 0x60000},  // Shift_R and Control
      {keysDown({64}), 0x80000},      // Alt
      {keysDown({9, 38, 255}), 0},    // Escape and other keys are no modifier
      {keysDown({37, 50, 64}), 0xe0000},
  };
  for (const Case& c : cases)
    EXPECT_EQ(macFlagsOf(c.keymap, modifiers), c.flags);
}

TEST(X11InputTranslation, EscapeIsReadByItsMacKeyCode) {
  KeyboardMapping mapping = sampleMapping();
  std::optional<uint32_t> escape = keysymOfMacKeyCode(53);
  ASSERT_TRUE(escape);
  std::vector<uint8_t> keycodes = keycodesProducing(mapping, *escape);
  EXPECT_TRUE(anyKeyDown(keysDown({9}), keycodes));
  EXPECT_FALSE(anyKeyDown(keysDown({8, 10, 17}), keycodes));
  // Codes without a translation are never down.
  EXPECT_FALSE(keysymOfMacKeyCode(0x7f));
}

TEST(X11InputTranslation, PointerButtonsAreNumberedAsOnTheMac) {
  // QueryPointer's mask: Button1 0x100, Button2 (middle) 0x200, Button3 0x400;
  // modifier bits below them never count as buttons.
  EXPECT_TRUE(macButtonDown(0x100, 0));
  EXPECT_FALSE(macButtonDown(0x0004 | 0x0001, 0));
  EXPECT_TRUE(macButtonDown(0x400, 1));
  EXPECT_FALSE(macButtonDown(0x100, 1));
  EXPECT_TRUE(macButtonDown(0x200, 2));
  EXPECT_FALSE(macButtonDown(0xffff, 3));
}

TEST(X11InputTranslation, ALateTimerSkipsTheFiringsItMissed) {
  EXPECT_DOUBLE_EQ(nextFiring(10.0, 10.005, 0.02), 10.02);
  // 0.07 s late: the next firing is the first one on the grid after now.
  EXPECT_DOUBLE_EQ(nextFiring(10.0, 10.07, 0.02), 10.08);
  EXPECT_DOUBLE_EQ(nextFiring(10.0, 10.08, 0.02), 10.1);
}

// Virtual time: sleeping advances it, and every sleep is recorded.
class SteppingClock final : public Clock {
 public:
  double now() override { return time; }
  void sleepMicroseconds(uint64_t microseconds) override {
    time += microseconds / 1e6;
    ++sleeps;
  }
  void runRunLoop(double seconds) override { time += seconds; }
  double time = 1000;
  int sleeps = 0;
};

struct StopTimer {};

TEST(X11InputState, TheTimerFiresOnItsIntervalThroughTheClockAndAccessIsGranted) {
  SteppingClock clock;
  // No display is opened for the timer or the access check.
  X11InputState input(":no-such-display", clock);
  EXPECT_EQ(input.checkAccess(1), 0u);
  std::vector<double> firings;
  try {
    input.runRepeatingTimer(0.02, 0.01, [&] {
      firings.push_back(clock.now());
      if (firings.size() == 3) throw StopTimer{};
    });
  } catch (StopTimer) {
  }
  ASSERT_EQ(firings.size(), 3u);
  for (size_t i = 0; i < firings.size(); ++i)
    EXPECT_NEAR(firings[i], 1000 + 0.02 * (i + 1), 1e-6);
  EXPECT_GE(clock.sleeps, 3);
}

TEST(X11InputState, WithoutAServerNothingIsHeldAndThePointerIsUnknown) {
  SteppingClock clock;
  X11InputState input(":no-such-display", clock);
  EXPECT_EQ(input.flagsState(1), 0u);
  EXPECT_FALSE(input.keyState(1, 53));
  EXPECT_FALSE(input.buttonState(1, 0));
  EXPECT_FALSE(input.pointerLocation());
}

}  // namespace
}  // namespace tessary::linuxdesktop
