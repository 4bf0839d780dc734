// The visibility index: every counted window of the listed processes, front
// first, with the pieces of it that are on the main screen and not covered by
// a counted window in front of it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "common/geometry.h"
#include "platform/screens.h"
#include "platform/window_server.h"
#include "scene-census/capture/window_list.h"

namespace tessary {

// One entry of the index with its pieces.
struct VisibleWindowInfo {
  int32_t pid = 0;
  Rect bounds;                // full, unclipped
  std::vector<Rect> visible;  // disjoint, on screen, uncovered; empty when nothing shows
  std::string owner;
  std::string name;
  bool operator==(const VisibleWindowInfo&) const = default;
};

// A window's pieces are worked out on first use only and then kept. With many
// overlapping windows the subtraction fragments badly, and a capture needs the
// pieces of very few windows. The pieces are exactly those of covering each
// window, in order, with every earlier window that still showed something.
class GlobalVisibleIndex {
 public:
  // `windows` in window order (front first); `screen` is the main screen.
  GlobalVisibleIndex(std::vector<WindowInfo> windows, const Rect& screen);

  size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }
  const WindowInfo& window(size_t index) const { return entries_[index].window; }
  // The entry's visible pieces, computed on first call.
  const std::vector<Rect>& visible(size_t index);
  VisibleWindowInfo entry(size_t index);

 private:
  struct Entry {
    WindowInfo window;
    std::optional<Rect> onScreen;  // bounds clipped to the screen, when anything is left
    size_t windowsInFront = 0;     // how many of onScreenRects_ lie in front of it
    std::optional<std::vector<Rect>> visible;
  };

  std::vector<Entry> entries_;
  // The on-screen part of every window that has one, front first.
  std::vector<Rect> onScreenRects_;
};

// (0, 0, width, height) of the main screen, or (0, 0, 1512, 982) without one.
Rect getScreenBounds(Screens& screens);

GlobalVisibleIndex buildGlobalVisibleIndex(WindowServer& windowServer, Screens& screens,
                                           const std::vector<int32_t>& pids,
                                           const std::set<int32_t>& excludedPIDs,
                                           bool isFormTestsMode);

}  // namespace tessary
