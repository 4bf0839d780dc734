// A process without the host's views: no view has a window. With no window
// to keep on the main thread, every thread counts as the main one and work
// runs where it is asked for.
#include "platform/macos/service_kits.h"

namespace tessary::macos {

namespace {

class NoHostWindows : public HostWindows {
 public:
  bool isMainThread() override { return true; }
  void runOnMainQueueAndWait(const std::function<void()>& work) override {
    if (work) work();
  }
  std::optional<HostWindow> windowOfView(uintptr_t) override { return std::nullopt; }
  int64_t level(HostWindow) override { return windowlevel::normal; }
  void setLevel(HostWindow, int64_t) override {}
  int64_t windowNumber(HostWindow) override { return 0; }
  void orderAbove(HostWindow, int64_t) override {}
};

}  // namespace

std::unique_ptr<HostWindows> makeHostWindows() {
  return std::make_unique<NoHostWindows>();
}

}  // namespace tessary::macos
