#include <algorithm>
#include <string>

#include "platform/fake/fake_state.h"

namespace tessary::fake {

// The list options behave as CGWindowListCopyWindowInfo's: on-screen only
// ignores the relative window; above and below list the on-screen windows in
// front of or behind it, the window itself only with "including window"; that
// flag alone lists just the one window; no list option lists every window,
// off-screen ones included. Combining list options is not defined on the
// platform and fails here so that the mistake shows.
std::optional<PlistArray> FakeWindowServer::copyWindowInfo(uint32_t options,
                                                           uint32_t relativeToWindow) {
  state_.recorder.record("copyWindowInfo", "", [&] {
    return "options=" + std::to_string(options) + " relativeTo=" + std::to_string(relativeToWindow);
  });
  if (state_.windowListFails) return std::nullopt;

  const std::vector<WindowRecord>& windows = state_.windows;
  const uint32_t listOption =
      options & (windowlist::onScreenOnly | windowlist::onScreenAboveWindow |
                 windowlist::onScreenBelowWindow);
  const bool excludeDesktop = (options & windowlist::excludeDesktopElements) != 0;
  const bool including = (options & windowlist::includingWindow) != 0;

  std::optional<size_t> relative;
  for (size_t i = 0; i < windows.size(); ++i) {
    if (relativeToWindow != windowlist::nullWindowId && windows[i].number == relativeToWindow) {
      relative = i;
    }
  }

  PlistArray list;
  auto add = [&](size_t i, bool onScreenOnly) {
    const WindowRecord& window = windows[i];
    if (onScreenOnly && !window.onScreen) return;
    if (excludeDesktop && window.desktopElement) return;
    if (window.listedWithOptions &&
        std::find(window.listedWithOptions->begin(), window.listedWithOptions->end(), options) ==
            window.listedWithOptions->end()) {
      return;
    }
    list.push_back(window.entry);
  };
  const bool noRelative = relativeToWindow == windowlist::nullWindowId;

  switch (listOption) {
    case 0:
      if (including && !noRelative) {
        if (relative) add(*relative, false);
      } else {
        for (size_t i = 0; i < windows.size(); ++i)
          add(i, false);
      }
      break;
    case windowlist::onScreenOnly:
      for (size_t i = 0; i < windows.size(); ++i)
        add(i, true);
      break;
    case windowlist::onScreenAboveWindow:
      if (noRelative) {
        for (size_t i = 0; i < windows.size(); ++i)
          add(i, true);
      } else if (relative) {
        for (size_t i = 0; i < *relative; ++i)
          add(i, true);
        if (including) add(*relative, true);
      }
      break;
    case windowlist::onScreenBelowWindow:
      if (noRelative) {
        for (size_t i = 0; i < windows.size(); ++i)
          add(i, true);
      } else if (relative) {
        if (including) add(*relative, true);
        for (size_t i = *relative + 1; i < windows.size(); ++i)
          add(i, true);
      }
      break;
    default:
      return std::nullopt;
  }
  return list;
}

}  // namespace tessary::fake
