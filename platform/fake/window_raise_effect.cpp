#include <algorithm>

#include "platform/fake/fake_state.h"
#include "platform/fake/window_list_changes.h"

namespace tessary::fake {

namespace {
int64_t layerOf(const WindowRecord& window) {
  auto layer = window.entry.find("kCGWindowLayer");
  return layer == window.entry.end() ? 0 : layer->second.asInteger().value_or(0);
}
}  // namespace

// The window server keeps its list front to back with higher layers first;
// a raised window goes in front of the other windows of its own layer and
// stays behind every window of a higher one.
void applyRaiseEffect(State& state, uint32_t element) {
  if (!state.windowListChanges.raiseBringsWindowForward) return;
  std::vector<WindowRecord>& windows = state.windows;
  for (size_t i = 0; i < windows.size(); ++i) {
    if (windows[i].element != static_cast<int32_t>(element)) continue;
    const int64_t layer = layerOf(windows[i]);
    auto firstOfLayer = std::find_if(windows.begin(), windows.begin() + static_cast<ptrdiff_t>(i),
                                     [&](const WindowRecord& w) { return layerOf(w) == layer; });
    std::rotate(firstOfLayer, windows.begin() + static_cast<ptrdiff_t>(i),
                windows.begin() + static_cast<ptrdiff_t>(i) + 1);
  }
}

}  // namespace tessary::fake
