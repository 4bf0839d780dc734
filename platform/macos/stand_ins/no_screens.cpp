// A desktop without displays: there is no main screen, so no screen list.
#include "platform/macos/service_kits.h"

namespace tessary::macos {

namespace {

class NoScreens : public Screens {
 public:
  std::optional<Rect> mainScreenFrame() override { return std::nullopt; }
};

}  // namespace

std::unique_ptr<Screens> makeScreens() {
  return std::make_unique<NoScreens>();
}

}  // namespace tessary::macos
