#include "pane-raise/raise_candidates.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "common/unicode.h"
#include "platform/window_description.h"

namespace tessary::paneraise {

namespace {

constexpr std::array<std::string_view, 12> kSkipOwners = {
    "Window Server",       "Dock",         "Control Center",
    "Notification Center", "loginwindow",  "Spotlight",
    "ScreensaverEngine",   "Tessary Next", "frost-curtain",
    "Tessary Overlay",     "Deskora",      "Tessary"};

// The host's own windows: its main window and its overlay, both owned by the
// host's runtime.
constexpr std::string_view kHostRuntimeOwner = "Electron";
constexpr std::array<std::string_view, 2> kHostWindowTitles = {"Tessary", "Tessary Overlay"};

std::optional<int64_t> truncated(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  const double whole = std::trunc(value);
  if (whole < -9223372036854775808.0 || whole >= 9223372036854775808.0) return std::nullopt;
  return static_cast<int64_t>(whole);
}

// start <= value < start + length, with the sum taken exactly.
bool withinSpan(int64_t value, int64_t start, int64_t length) {
  return value >= start && static_cast<__int128>(value) <
                               static_cast<__int128>(start) + static_cast<__int128>(length);
}

}  // namespace

bool isSkippedOwner(std::string_view owner) {
  return std::find(kSkipOwners.begin(), kSkipOwners.end(), owner) != kSkipOwners.end();
}

std::optional<RaiseCandidate> raiseCandidate(const PlistValue& description,
                                             const std::set<int32_t>& excludedPIDs) {
  const std::string* owner = windowText(description, windowkey::ownerName);
  if (!owner || isSkippedOwner(*owner)) return std::nullopt;
  std::optional<Rect> bounds = windowBounds(description);
  if (!bounds) return std::nullopt;
  std::optional<int32_t> pid = windowOwnerPid(description);
  if (!pid || excludedPIDs.contains(*pid)) return std::nullopt;
  const std::string* name = windowText(description, windowkey::name);
  std::string title = name ? std::string(trimWhitespaceAndNewlines(*name)) : std::string();
  if (*owner == kHostRuntimeOwner && std::find(kHostWindowTitles.begin(), kHostWindowTitles.end(),
                                               title) != kHostWindowTitles.end()) {
    return std::nullopt;
  }
  if (std::optional<int64_t> layer = windowLayer(description); layer && *layer >= kLayerLimit) {
    return std::nullopt;
  }
  return RaiseCandidate{*owner, *pid, std::move(title), *bounds};
}

bool hitsTruncatedBounds(const Rect& bounds, int64_t x, int64_t y) {
  std::optional<int64_t> bx = truncated(bounds.x), by = truncated(bounds.y),
                         bw = truncated(bounds.w), bh = truncated(bounds.h);
  if (!bx || !by || !bw || !bh) return false;
  return withinSpan(x, *bx, *bw) && withinSpan(y, *by, *bh);
}

}  // namespace tessary::paneraise
