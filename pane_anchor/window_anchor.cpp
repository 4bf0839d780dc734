#include "pane_anchor/window_anchor.h"

#include <functional>
#include <optional>

#include "pane_anchor/view_handle.h"

namespace tessary::anchor {

namespace {

// AppKit windows are the main thread's: the work runs at once when the
// caller is the main thread, and otherwise on the main queue while the
// caller waits (dispatching from the main thread itself would deadlock).
void onMainThread(HostWindows& windows, const std::function<void()>& work) {
  if (windows.isMainThread()) {
    work();
  } else {
    windows.runOnMainQueueAndWait(work);
  }
}

// Runs `work` on the main thread with the handle's window; false, without
// running it, when the handle is unusable. The view's `window` is read on
// the main thread too.
bool withHandleWindow(Platform& platform, std::span<const uint8_t> handle,
                      const std::function<void(HostWindow)>& work) {
  std::optional<uintptr_t> view = viewAddressFromHandle(handle);
  if (!view) return false;
  HostWindows& windows = platform.hostWindows;
  bool usable = false;
  onMainThread(windows, [&] {
    std::optional<HostWindow> window = windows.windowOfView(*view);
    if (!window) return;
    usable = true;
    work(*window);
  });
  return usable;
}

}  // namespace

bool pinAbove(Platform& platform, std::span<const uint8_t> handle, uint32_t target) {
  if (target == 0) return false;
  HostWindows& windows = platform.hostWindows;
  bool pinned = false;
  withHandleWindow(platform, handle, [&](HostWindow window) {
    if (windows.level(window) != windowlevel::floating) {
      windows.setLevel(window, windowlevel::floating);
    }
    if (windows.windowNumber(window) < 1) return;
    windows.orderAbove(window, target);
    pinned = true;
  });
  return pinned;
}

bool setWindowLevelNormal(Platform& platform, std::span<const uint8_t> handle) {
  HostWindows& windows = platform.hostWindows;
  return withHandleWindow(
      platform, handle, [&](HostWindow window) { windows.setLevel(window, windowlevel::normal); });
}

int64_t getWindowNumber(Platform& platform, std::span<const uint8_t> handle) {
  HostWindows& windows = platform.hostWindows;
  int64_t number = 0;
  withHandleWindow(platform, handle,
                   [&](HostWindow window) { number = windows.windowNumber(window); });
  return number;
}

ZOrderDescription describeZOrder(Platform& platform, std::span<const uint8_t> handle) {
  HostWindows& windows = platform.hostWindows;
  ZOrderDescription description;
  description.ok = withHandleWindow(platform, handle, [&](HostWindow window) {
    description.windowNumber = windows.windowNumber(window);
    description.windowLevel = windows.level(window);
  });
  if (!description.ok) return description;
  // The window list is the window server's, not AppKit's: it is read here,
  // on the calling thread, once the main thread is done.
  description.place = findZOrderPlace(
      platform.windowServer.copyWindowInfo(kOnScreenListOptions, windowlist::nullWindowId),
      description.windowNumber);
  return description;
}

}  // namespace tessary::anchor
