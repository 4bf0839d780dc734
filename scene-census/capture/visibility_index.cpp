#include "scene-census/capture/visibility_index.h"

#include <algorithm>
#include <utility>

namespace tessary {

namespace {

constexpr Rect kFallbackScreen{0, 0, 1512, 982};

struct Extent {
  double left, top, right, bottom;
};

// Strict overlap, with the very comparisons of the subtraction below, so a
// hole that misses the extent misses every piece inside it.
bool overlaps(const Extent& extent, const Rect& hole) {
  double ix0 = std::max(extent.left, hole.x);
  double iy0 = std::max(extent.top, hole.y);
  double ix1 = std::min(hole.x + hole.w, extent.right);
  double iy1 = std::min(hole.y + hole.h, extent.bottom);
  return ix0 < ix1 && iy0 < iy1;
}

Extent extentOf(const std::vector<Rect>& pieces) {
  Extent extent{pieces[0].x, pieces[0].y, pieces[0].x + pieces[0].w, pieces[0].y + pieces[0].h};
  for (const Rect& p : pieces) {
    extent.left = std::min(extent.left, p.x);
    extent.top = std::min(extent.top, p.y);
    extent.right = std::max(extent.right, p.x + p.w);
    extent.bottom = std::max(extent.bottom, p.y + p.h);
  }
  return extent;
}

// One hole taken out of every piece, with the arithmetic and the piece order
// of rectSubtract: top, bottom, left, right.
void subtractHole(const std::vector<Rect>& pieces, const Rect& hole, std::vector<Rect>& out) {
  out.clear();
  for (const Rect& p : pieces) {
    double ix0 = std::max(p.x, hole.x);
    double iy0 = std::max(p.y, hole.y);
    double ix1 = std::min(hole.x + hole.w, p.x + p.w);
    double iy1 = std::min(hole.y + hole.h, p.y + p.h);
    if (!(ix0 < ix1 && iy0 < iy1)) {
      out.push_back(p);
      continue;
    }
    if (p.y < iy0) out.push_back(Rect{p.x, p.y, p.w, iy0 - p.y});
    if (p.y + p.h > iy1) out.push_back(Rect{p.x, iy1, p.w, p.y + p.h - iy1});
    if (p.x < ix0) out.push_back(Rect{p.x, iy0, ix0 - p.x, iy1 - iy0});
    if (p.x + p.w > ix1) out.push_back(Rect{ix1, iy0, p.x + p.w - ix1, iy1 - iy0});
  }
}

}  // namespace

GlobalVisibleIndex::GlobalVisibleIndex(std::vector<WindowInfo> windows, const Rect& screen) {
  entries_.reserve(windows.size());
  for (WindowInfo& window : windows) {
    Entry entry;
    const Rect& b = window.bounds;
    double left = std::max(b.x, 0.0);
    double top = std::max(b.y, 0.0);
    double right = std::min(screen.w, b.x + b.w);
    double bottom = std::min(screen.h, b.y + b.h);
    entry.windowsInFront = onScreenRects_.size();
    if (left < right && top < bottom) {
      entry.onScreen = Rect{left, top, right - left, bottom - top};
      // A window that turns out fully covered adds nothing as an occluder:
      // everything it would take away is gone already, since it lies inside
      // the windows in front of it. So every on-screen window can stand in
      // the hole list, and no window's pieces are needed to build the list.
      onScreenRects_.push_back(*entry.onScreen);
    } else {
      entry.visible.emplace();
    }
    entry.window = std::move(window);
    entries_.push_back(std::move(entry));
  }
}

const std::vector<Rect>& GlobalVisibleIndex::visible(size_t index) {
  Entry& entry = entries_[index];
  if (entry.visible) return *entry.visible;
  std::vector<Rect> pieces{*entry.onScreen};
  std::vector<Rect> next;
  Extent extent = extentOf(pieces);
  for (size_t i = 0; i < entry.windowsInFront && !pieces.empty(); ++i) {
    const Rect& hole = onScreenRects_[i];
    if (!overlaps(extent, hole)) continue;
    subtractHole(pieces, hole, next);
    pieces.swap(next);
    if (!pieces.empty()) extent = extentOf(pieces);
  }
  entry.visible = std::move(pieces);
  return *entry.visible;
}

VisibleWindowInfo GlobalVisibleIndex::entry(size_t index) {
  const std::vector<Rect>& pieces = visible(index);
  const WindowInfo& w = entries_[index].window;
  return VisibleWindowInfo{w.pid, w.bounds, pieces, w.owner, w.name};
}

Rect getScreenBounds(Screens& screens) {
  std::optional<Rect> frame = screens.mainScreenFrame();
  if (!frame) return kFallbackScreen;
  return Rect{0, 0, frame->w, frame->h};
}

GlobalVisibleIndex buildGlobalVisibleIndex(WindowServer& windowServer, Screens& screens,
                                           const std::vector<int32_t>& pids,
                                           const std::set<int32_t>& excludedPIDs,
                                           bool isFormTestsMode) {
  std::vector<WindowInfo> windows =
      getVisibleWindowsForPIDs(windowServer, pids, excludedPIDs, isFormTestsMode);
  return GlobalVisibleIndex(std::move(windows), getScreenBounds(screens));
}

}  // namespace tessary
