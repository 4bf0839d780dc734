// The host's own windows over AppKit (NSView, NSWindow) and the main queue.
#pragma once

#include "platform/host_windows.h"

namespace tessary::macos {

class MacHostWindows : public HostWindows {
 public:
  bool isMainThread() override;
  void runOnMainQueueAndWait(const std::function<void()>& work) override;
  std::optional<HostWindow> windowOfView(uintptr_t viewAddress) override;
  int64_t level(HostWindow window) override;
  void setLevel(HostWindow window, int64_t level) override;
  int64_t windowNumber(HostWindow window) override;
  void orderAbove(HostWindow window, int64_t relativeTo) override;
};

}  // namespace tessary::macos
