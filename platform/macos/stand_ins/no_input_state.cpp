// A desktop without input state: nothing is held, the pointer cannot be
// read, input monitoring is denied, and the sampling timer has no run loop
// to fire on, so it returns at once without firing.
#include "platform/macos/service_kits.h"

namespace tessary::macos {

namespace {

// IOHIDCheckAccess's kIOHIDAccessTypeDenied.
constexpr uint32_t kAccessDenied = 1;

class NoInputState : public InputState {
 public:
  uint64_t flagsState(int32_t) override { return 0; }
  bool keyState(int32_t, uint16_t) override { return false; }
  bool buttonState(int32_t, uint32_t) override { return false; }
  std::optional<Point> pointerLocation() override { return std::nullopt; }
  uint32_t checkAccess(uint32_t) override { return kAccessDenied; }
  void runRepeatingTimer(double, double, const std::function<void()>&) override {}
};

}  // namespace

std::unique_ptr<InputState> makeInputState() {
  return std::make_unique<NoInputState>();
}

}  // namespace tessary::macos
