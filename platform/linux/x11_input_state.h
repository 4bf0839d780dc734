// The input state from the X server: the keys held (QueryKeymap, read by
// keycode through the keyboard mapping), the pointer and its buttons
// (QueryPointer on the root window). The X server asks no permission, so
// access is always granted. The connection opens on first use, so programs
// that never sample pay nothing.
#pragma once

#include <memory>
#include <string>

#include "platform/clock.h"
#include "platform/input_state.h"

namespace tessary::linuxdesktop {

class X11InputState final : public InputState {
 public:
  X11InputState(std::string display, Clock& clock);
  ~X11InputState() override;

  uint64_t flagsState(int32_t stateId) override;
  bool keyState(int32_t stateId, uint16_t keyCode) override;
  bool buttonState(int32_t stateId, uint32_t button) override;
  std::optional<Point> pointerLocation() override;
  uint32_t checkAccess(uint32_t requestType) override;
  // Fires through the backend's clock until the process is ended, as the
  // macOS run loop does.
  void runRepeatingTimer(double intervalSeconds, double toleranceSeconds,
                         const std::function<void()>& onFire) override;

 private:
  struct Server;
  Server* server();
  std::string display_;
  Clock& clock_;
  std::unique_ptr<Server> server_;
  bool opened_ = false;
};

}  // namespace tessary::linuxdesktop
