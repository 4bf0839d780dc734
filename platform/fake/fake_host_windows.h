// The host's views and windows on the simulated desktop (HostWindows).
#pragma once

#include <optional>
#include <string_view>
#include <thread>

#include "platform/fake/fake_desktop.h"
#include "platform/host_windows.h"

namespace tessary::fake {

struct HostWindowRecord;

class FakeHostWindows : public HostWindows {
 public:
  // The thread that makes the desktop is its main thread.
  explicit FakeHostWindows(FakeDesktop::State& state)
      : state_(state), mainThread_(std::this_thread::get_id()) {}

  bool isMainThread() override;
  void runOnMainQueueAndWait(const std::function<void()>& work) override;
  std::optional<HostWindow> windowOfView(uintptr_t viewAddress) override;
  int64_t level(HostWindow window) override;
  void setLevel(HostWindow window, int64_t level) override;
  int64_t windowNumber(HostWindow window) override;
  void orderAbove(HostWindow window, int64_t relativeTo) override;

 private:
  // Records a window operation made off the main thread as the call
  // "offMainThread" (detail: the operation), as a main-thread checker would
  // report it.
  void checkMainThread(std::string_view operation);
  HostWindowRecord& record(HostWindow window);

  FakeDesktop::State& state_;
  std::thread::id mainThread_;
  // The thread running work given to runOnMainQueueAndWait counts as the
  // main thread while it does.
  std::optional<std::thread::id> mainQueueWorker_;
};

}  // namespace tessary::fake
