// A desktop without the window server: the window list cannot be read.
#include "platform/macos/service_kits.h"

namespace tessary::macos {

namespace {

class NoWindowServer : public WindowServer {
 public:
  std::optional<PlistArray> copyWindowInfo(uint32_t, uint32_t) override { return std::nullopt; }
};

}  // namespace

std::unique_ptr<WindowServer> makeWindowServer() {
  return std::make_unique<NoWindowServer>();
}

}  // namespace tessary::macos
