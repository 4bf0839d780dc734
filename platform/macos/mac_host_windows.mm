#include "platform/macos/mac_host_windows.h"

#import <AppKit/AppKit.h>
#include <dispatch/dispatch.h>

#include <exception>
#include <stdexcept>

#include "platform/macos/service_kits.h"

namespace tessary::macos {

static_assert(windowlevel::normal == NSNormalWindowLevel);
static_assert(windowlevel::floating == NSFloatingWindowLevel);
static_assert(sizeof(uintptr_t) == sizeof(void*));

// The host owns its views and windows: nothing here retains or releases
// them, and a window is used only inside the main-thread work that asked
// the view for it. Every window is therefore held unretained.
#define TESSARY_HOST_WINDOW(handle) \
  NSWindow* __unsafe_unretained nsWindow = (__bridge NSWindow*)reinterpret_cast<void*>((handle).id)

bool MacHostWindows::isMainThread() {
  return NSThread.isMainThread;
}

void MacHostWindows::runOnMainQueueAndWait(const std::function<void()>& work) {
  // dispatch_sync returns only after the block ran, so it may refer to
  // `work` and to the exception slot by address. An exception must not
  // unwind through libdispatch: it is carried back to the caller.
  // From the main thread dispatch_sync onto the main queue never returns.
  if (NSThread.isMainThread)
    throw std::logic_error("runOnMainQueueAndWait called on the main thread");
  const std::function<void()>* job = &work;
  __block std::exception_ptr failure;
  dispatch_sync(dispatch_get_main_queue(), ^{
    try {
      (*job)();
    } catch (...) {
      failure = std::current_exception();
    }
  });
  if (failure) std::rethrow_exception(failure);
}

std::optional<HostWindow> MacHostWindows::windowOfView(uintptr_t viewAddress) {
  @autoreleasepool {
    id __unsafe_unretained object = (__bridge id) reinterpret_cast<void*>(viewAddress);
    // A live object that is no view (a window, say) has no `window` to ask:
    // sending it would raise inside the host.
    if (![object isKindOfClass:NSClassFromString(@"NSView")]) return std::nullopt;
    NSView* __unsafe_unretained view = object;
    NSWindow* __unsafe_unretained window = view.window;
    if (!window) return std::nullopt;
    return HostWindow{reinterpret_cast<uintptr_t>((__bridge void*)window)};
  }
}

int64_t MacHostWindows::level(HostWindow window) {
  TESSARY_HOST_WINDOW(window);
  return nsWindow.level;
}

void MacHostWindows::setLevel(HostWindow window, int64_t level) {
  TESSARY_HOST_WINDOW(window);
  nsWindow.level = static_cast<NSWindowLevel>(level);
}

int64_t MacHostWindows::windowNumber(HostWindow window) {
  TESSARY_HOST_WINDOW(window);
  return nsWindow.windowNumber;
}

void MacHostWindows::orderAbove(HostWindow window, int64_t relativeTo) {
  static_assert(NSWindowAbove == 1);
  TESSARY_HOST_WINDOW(window);
  [nsWindow orderWindow:NSWindowAbove relativeTo:static_cast<NSInteger>(relativeTo)];
}

std::unique_ptr<HostWindows> makeHostWindows() {
  return std::make_unique<MacHostWindows>();
}

}  // namespace tessary::macos
