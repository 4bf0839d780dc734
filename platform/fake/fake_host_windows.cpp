#include "platform/fake/fake_host_windows.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "platform/fake/fake_state.h"

namespace tessary::fake {

namespace {

int64_t layerOf(const WindowRecord& window) {
  auto it = window.entry.find("kCGWindowLayer");
  std::optional<int64_t> layer = it == window.entry.end() ? std::nullopt : it->second.asInteger();
  return layer.value_or(0);
}

std::optional<size_t> listIndexOf(const std::vector<WindowRecord>& windows, int64_t number) {
  for (size_t i = 0; i < windows.size(); ++i) {
    if (windows[i].number == number) return i;
  }
  return std::nullopt;
}

// The window server keeps a higher layer in front of a lower one: the window
// at `from` moves to the place nearest `desired` (an index into the list
// without it) that keeps it behind every window of a higher layer and in
// front of every window of a lower one.
void moveWithinLayer(std::vector<WindowRecord>& windows, size_t from, size_t desired) {
  WindowRecord moving = std::move(windows[from]);
  windows.erase(windows.begin() + static_cast<ptrdiff_t>(from));
  const int64_t layer = layerOf(moving);
  size_t first = 0;
  for (size_t i = 0; i < windows.size(); ++i) {
    if (layerOf(windows[i]) > layer) first = i + 1;
  }
  size_t end = first;
  while (end < windows.size() && layerOf(windows[end]) >= layer)
    ++end;
  const size_t place = std::clamp(desired, first, end);
  windows.insert(windows.begin() + static_cast<ptrdiff_t>(place), std::move(moving));
}

std::string hexText(uintptr_t address) {
  char text[2 + 16 + 1];
  std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(address));
  return text;
}

}  // namespace

bool FakeHostWindows::isMainThread() {
  const std::thread::id self = std::this_thread::get_id();
  const bool main = self == mainThread_ || mainQueueWorker_ == self;
  state_.recorder.record("isMainThread", "", std::string_view(main ? "yes" : "no"));
  return main;
}

void FakeHostWindows::runOnMainQueueAndWait(const std::function<void()>& work) {
  state_.recorder.record("runOnMainQueueAndWait");
  const std::thread::id self = std::this_thread::get_id();
  // The main queue runs on the main thread, which would wait for itself.
  if (self == mainThread_ || mainQueueWorker_ == self) {
    throw std::logic_error("dispatch_sync onto the main queue from the main thread deadlocks");
  }
  // The simulated main thread is idle: the work runs here, in its place.
  mainQueueWorker_ = self;
  try {
    work();
  } catch (...) {
    mainQueueWorker_.reset();
    throw;
  }
  mainQueueWorker_.reset();
}

void FakeHostWindows::checkMainThread(std::string_view operation) {
  const std::thread::id self = std::this_thread::get_id();
  if (self != mainThread_ && mainQueueWorker_ != self) {
    state_.recorder.record("offMainThread", "", operation);
  }
}

HostWindowRecord& FakeHostWindows::record(HostWindow window) {
  std::vector<HostWindowRecord>& windows = state_.hostViews.windows;
  if (window.id == 0 || window.id > windows.size()) {
    throw std::logic_error("not a window of the simulated host");
  }
  return windows[window.id - 1];
}

std::optional<HostWindow> FakeHostWindows::windowOfView(uintptr_t viewAddress) {
  checkMainThread("viewWindow");
  state_.recorder.record("viewWindow", "", [&] { return "view=" + hexText(viewAddress); });
  auto it = state_.hostViews.views.find(viewAddress);
  // A real address that is no view would crash the host; here it has no
  // window, so that tests of hostile handles can run.
  if (it == state_.hostViews.views.end() || !it->second) return std::nullopt;
  return HostWindow{*it->second + 1};
}

int64_t FakeHostWindows::level(HostWindow window) {
  checkMainThread("windowLevel");
  HostWindowRecord& host = record(window);
  state_.recorder.record("windowLevel", "",
                         [&] { return "window=" + std::to_string(host.number); });
  return host.level;
}

void FakeHostWindows::setLevel(HostWindow window, int64_t level) {
  checkMainThread("setWindowLevel");
  HostWindowRecord& host = record(window);
  state_.recorder.record("setWindowLevel", "", [&] {
    return "window=" + std::to_string(host.number) + " level=" + std::to_string(level);
  });
  if (host.level == level) return;
  host.level = level;
  // A window that changes level comes to the front of its new level.
  std::vector<WindowRecord>& windows = state_.windows;
  if (std::optional<size_t> index = listIndexOf(windows, host.number)) {
    windows[*index].entry["kCGWindowLayer"] = PlistValue(level);
    moveWithinLayer(windows, *index, 0);
  }
}

int64_t FakeHostWindows::windowNumber(HostWindow window) {
  checkMainThread("windowNumber");
  HostWindowRecord& host = record(window);
  state_.recorder.record("windowNumber", "",
                         [&] { return "window=" + std::to_string(host.number); });
  return host.number;
}

void FakeHostWindows::orderAbove(HostWindow window, int64_t relativeTo) {
  checkMainThread("orderWindowAbove");
  HostWindowRecord& host = record(window);
  state_.recorder.record("orderWindowAbove", "", [&] {
    return "window=" + std::to_string(host.number) + " relativeTo=" + std::to_string(relativeTo);
  });
  std::vector<WindowRecord>& windows = state_.windows;
  std::optional<size_t> index = listIndexOf(windows, host.number);
  if (!index) return;  // no window device: nothing to order
  // Ordering a window in shows it; relative to itself it stays where it is.
  windows[*index].onScreen = true;
  windows[*index].entry["kCGWindowIsOnscreen"] = PlistValue(true);
  if (relativeTo == host.number) return;
  std::optional<size_t> target = listIndexOf(windows, relativeTo);
  size_t desired = 0;  // an unknown window: the front of the level
  if (target) desired = *target > *index ? *target - 1 : *target;
  moveWithinLayer(windows, *index, desired);
}

}  // namespace tessary::fake
