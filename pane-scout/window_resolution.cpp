#include "pane-scout/window_resolution.h"

#include <algorithm>
#include <array>

namespace tessary::panescout {

namespace {

constexpr std::array<std::string_view, 12> kSkipOwners = {
    "Window Server",       "Dock",         "Control Center",
    "Notification Center", "loginwindow",  "Spotlight",
    "ScreensaverEngine",   "Tessary Next", "frost-curtain",
    "Tessary Overlay",     "Deskora",      "motion-relay"};

}  // namespace

bool isSkippedOwner(std::string_view owner) {
  return std::find(kSkipOwners.begin(), kSkipOwners.end(), owner) != kSkipOwners.end();
}

bool containsPoint(const WindowEntry& entry, double px, double py) {
  return entry.x <= px && px < entry.x + entry.w && entry.y <= py && py < entry.y + entry.h;
}

std::string skipReason(const WindowEntry& entry, const std::set<int32_t>& excludedPIDs) {
  if (entry.layer >= kLayerLimit) return "layer" + std::to_string(entry.layer);
  if (isSkippedOwner(entry.owner)) return "owner";
  if (excludedPIDs.contains(entry.pid)) return "pid";
  // Already one of the skipped owners; kept so the reasons stay those the
  // host knows, in their order.
  if (entry.owner == kOverlayOwner) return "overlay";
  return "no";
}

const WindowEntry* topmostWindowAt(const std::vector<WindowEntry>& entries, double px, double py,
                                   const std::set<int32_t>& excludedPIDs) {
  for (const WindowEntry& entry : entries) {
    if (entry.layer >= kLayerLimit || isSkippedOwner(entry.owner) ||
        excludedPIDs.contains(entry.pid) || entry.owner == kOverlayOwner) {
      continue;
    }
    if (containsPoint(entry, px, py)) return &entry;
  }
  return nullptr;
}

const WindowEntry* windowById(const std::vector<WindowEntry>& entries, uint32_t cgWindowId) {
  for (const WindowEntry& entry : entries) {
    if (entry.cgWindowId == cgWindowId) return &entry;
  }
  return nullptr;
}

const WindowEntry* mainWindowOf(const std::vector<WindowEntry>& entries, int32_t pid) {
  const WindowEntry* fallback = nullptr;
  for (const WindowEntry& entry : entries) {
    if (entry.pid != pid || entry.layer != 0) continue;
    if (entry.w >= kMinMainWindowWidth && entry.h >= kMinMainWindowHeight) return &entry;
    if (!fallback || entry.w * entry.h > fallback->w * fallback->h) fallback = &entry;
  }
  return fallback;
}

}  // namespace tessary::panescout
