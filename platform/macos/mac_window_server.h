// The window list over Core Graphics.
#pragma once

#include "platform/window_server.h"

namespace tessary::macos {

class MacWindowServer : public WindowServer {
 public:
  std::optional<PlistArray> copyWindowInfo(uint32_t options, uint32_t relativeToWindow) override;
};

}  // namespace tessary::macos
