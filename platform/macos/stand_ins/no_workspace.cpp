// A desktop without running applications: none is listed, found or
// activated.
#include "platform/macos/service_kits.h"

namespace tessary::macos {

namespace {

class NoWorkspace : public Workspace {
 public:
  std::vector<RunningApplication> runningApplications() override { return {}; }
  std::optional<RunningApplication> frontmostApplication() override { return std::nullopt; }
  std::optional<RunningApplication> runningApplication(int32_t) override { return std::nullopt; }
  bool activateApplication(int32_t, uint32_t) override { return false; }
};

}  // namespace

std::unique_ptr<Workspace> makeWorkspace() {
  return std::make_unique<NoWorkspace>();
}

}  // namespace tessary::macos
