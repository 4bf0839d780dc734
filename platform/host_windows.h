// The host application's own windows (AppKit NSWindow), reached through the
// NSView addresses its JavaScript side hands out. Only the two thread
// operations may be called from any thread; everything else must run on the
// main thread, inside work given to `isMainThread`'s caller or to
// `runOnMainQueueAndWait`.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

namespace tessary {

namespace windowlevel {
constexpr int64_t normal = 0;    // NSNormalWindowLevel
constexpr int64_t floating = 3;  // NSFloatingWindowLevel
}  // namespace windowlevel

// A window as a view answered it. It is not retained: it stays valid only
// within the main-thread work that obtained it.
struct HostWindow {
  uintptr_t id = 0;
};

class HostWindows {
 public:
  virtual ~HostWindows() = default;

  // NSThread.isMainThread.
  virtual bool isMainThread() = 0;
  // dispatch_sync onto the main queue: runs `work` on the main thread and
  // returns when it has finished. Never call it from the main thread.
  virtual void runOnMainQueueAndWait(const std::function<void()>& work) = 0;

  // `window` of the view at `viewAddress`; nothing when the view has none.
  // The address must be that of a live view: it cannot be checked.
  virtual std::optional<HostWindow> windowOfView(uintptr_t viewAddress) = 0;
  virtual int64_t level(HostWindow window) = 0;
  virtual void setLevel(HostWindow window, int64_t level) = 0;
  // The window server's number; 0 or less while the window has no window
  // device (never shown).
  virtual int64_t windowNumber(HostWindow window) = 0;
  // orderWindow:NSWindowAbove relativeTo:: directly in front of the window
  // numbered `relativeTo`, as far as the window levels allow.
  virtual void orderAbove(HostWindow window, int64_t relativeTo) = 0;
};

}  // namespace tessary
