// The host application's own views and windows on the simulated desktop
// (scene section "hostViews"): which view address shows which window, and
// each window's number and level. A window with a number is the window-list
// entry of that number, so its level is that entry's layer and ordering it
// moves the entry.
#pragma once

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

namespace tessary::fake {

struct HostWindowRecord {
  // The window-list entry of this number shows the window, when there is one;
  // 0 or less: the window was never shown.
  int64_t number = 0;
  int64_t level = 0;
};

struct HostViewState {
  // View address -> index into `windows`, or nothing for a view without a
  // window.
  std::unordered_map<uintptr_t, std::optional<size_t>> views;
  std::vector<HostWindowRecord> windows;
};

}  // namespace tessary::fake
