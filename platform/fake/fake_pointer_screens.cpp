// The screen list and the pointer, in the platform's screen coordinates.
#include "platform/fake/fake_state.h"

namespace tessary::fake {

std::vector<Rect> FakeScreens::screenFrames() {
  state_.recorder.record("screenFrames");
  return state_.screens;
}

// A scene without a pointer has it at the origin.
Point FakeScreens::mouseLocation() {
  state_.recorder.record("mouseLocation");
  return state_.pointer.value_or(Point{});
}

}  // namespace tessary::fake
