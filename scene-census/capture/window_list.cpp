#include "scene-census/capture/window_list.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <string>

#include "common/exclusion.h"
#include "common/text.h"
#include "common/unicode.h"
#include "platform/window_description.h"
#include "scene-census/capture/log_line.h"

namespace tessary {

namespace {

constexpr std::string_view kAlphaKey = "kCGWindowAlpha";

// Windows above this level (menu bar, status items, overlays) never count.
constexpr int64_t kHighestCountedLayer = 10;
constexpr double kLowestCountedAlpha = 0.01;
constexpr std::string_view kCurtainOwner = "frost-curtain";
constexpr std::array<std::string_view, 3> kSuiteWindowNames = {"Tessary Next", "Tessary",
                                                               "Overlay"};
constexpr std::string_view kFormTestsBackgroundName = "Background";

constexpr std::array<std::string_view, 7> kSystemExcludedOwners = {
    "Window Server", "Dock",      "Control Center",   "Notification Center",
    "loginwindow",   "Spotlight", "ScreensaverEngine"};

std::string_view textKey(const PlistValue& window, std::string_view key) {
  const std::string* text = windowText(window, key);
  return text ? std::string_view(*text) : std::string_view();
}

}  // namespace

bool isSystemExcludedOwner(std::string_view trimmedOwner) {
  return std::find(kSystemExcludedOwners.begin(), kSystemExcludedOwners.end(), trimmedOwner) !=
         kSystemExcludedOwners.end();
}

PlistArray getWindowInfo(WindowServer& windowServer) {
  std::optional<PlistArray> list =
      windowServer.copyWindowInfo(kWindowListOptions, windowlist::nullWindowId);
  return list ? std::move(*list) : PlistArray{};
}

bool shouldIncludeWindow(const PlistValue& window, const std::set<int32_t>& excludedPIDs,
                         bool isFormTestsMode) {
  if (std::optional<int64_t> layer = windowLayer(window); layer && *layer > kHighestCountedLayer) {
    return false;
  }
  std::string_view owner = trimSpacesAndTabs(textKey(window, windowkey::ownerName));
  if (owner.empty()) return false;
  if (isSystemExcludedOwner(owner)) return false;
  if (lowercased(owner) == kCurtainOwner) return false;
  std::optional<int32_t> pid = windowOwnerPid(window);
  if (!pid || excludedPIDs.count(*pid)) return false;
  std::string_view name = trimSpacesAndTabs(textKey(window, windowkey::name));
  if (std::find(kSuiteWindowNames.begin(), kSuiteWindowNames.end(), name) !=
      kSuiteWindowNames.end()) {
    return false;
  }
  if (isFormTestsMode && name == kFormTestsBackgroundName) return false;
  if (const PlistValue* alpha = window.find(kAlphaKey)) {
    std::optional<double> value = alpha->asReal();
    if (value && *value < kLowestCountedAlpha) return false;
  }
  std::optional<Rect> bounds = windowBounds(window);
  if (!bounds) return false;
  return std::isfinite(bounds->x) && std::isfinite(bounds->y) && bounds->w > 0 && bounds->h > 0;
}

std::optional<WindowInfo> windowInfoFromDictionary(const PlistValue& window, int64_t zIndex) {
  std::optional<int32_t> pid = windowOwnerPid(window);
  if (!pid) return std::nullopt;
  std::optional<Rect> bounds = windowBounds(window);
  if (!bounds) return std::nullopt;
  return WindowInfo{*pid,
                    *bounds,
                    std::string(textKey(window, windowkey::ownerName)),
                    std::string(textKey(window, windowkey::name)),
                    windowLayer(window).value_or(0),
                    zIndex};
}

bool windowOrderBefore(const WindowInfo& a, const WindowInfo& b) {
  if (a.layer != b.layer) return a.layer > b.layer;
  return a.zIndex < b.zIndex;
}

void sortInWindowOrder(std::vector<WindowInfo>& windows) {
  std::stable_sort(windows.begin(), windows.end(), windowOrderBefore);
}

std::vector<int32_t> listVisibleAppPIDs(WindowServer& windowServer, const Environment& environment,
                                        bool isFormTestsMode, std::ostream& err) {
  std::optional<PlistArray> list =
      windowServer.copyWindowInfo(kVisibleAppsListOptions, windowlist::nullWindowId);
  if (!list) return {};
  std::set<int32_t> excluded = getExcludedPIDs(environment);
  writeLine(
      err, "DEBUG: listVisibleAppBundles found " + std::to_string(list->size()) + " total windows");

  std::map<int64_t, uint64_t> layerHistogram;
  std::vector<int32_t> pids;
  std::set<int32_t> added;
  for (const PlistValue& entry : *list) {
    int64_t layer = windowLayer(entry).value_or(0);
    ++layerHistogram[layer];
    std::string_view owner = trimSpacesAndTabs(textKey(entry, windowkey::ownerName));
    std::string_view name = trimSpacesAndTabs(textKey(entry, windowkey::name));
    if (!shouldIncludeWindow(entry, excluded, isFormTestsMode)) {
      writeLine(err, "DEBUG: Skipping window at layer " + std::to_string(layer) + ": owner='" +
                         std::string(owner) + "', name='" + std::string(name) + "'");
      continue;
    }
    // A counted window always has an owner id.
    int32_t pid = *windowOwnerPid(entry);
    if (!added.insert(pid).second) continue;
    pids.push_back(pid);
    writeLine(err, "DEBUG: Added PID to visible apps: " + std::to_string(pid) + " (owner='" +
                       std::string(owner) + "')");
  }

  std::string distribution = "DEBUG: Layer distribution: ";
  bool first = true;
  for (const auto& [layer, count] : layerHistogram) {
    if (!first) distribution += ", ";
    first = false;
    distribution += std::to_string(layer) + ":" + std::to_string(count);
  }
  writeLine(err, distribution);
  return pids;
}

std::vector<WindowInfo> getVisibleWindowsForPIDs(WindowServer& windowServer,
                                                 const std::vector<int32_t>& pids,
                                                 const std::set<int32_t>& excludedPIDs,
                                                 bool isFormTestsMode) {
  std::set<int32_t> wanted(pids.begin(), pids.end());
  PlistArray list = getWindowInfo(windowServer);
  std::vector<WindowInfo> windows;
  for (size_t i = 0; i < list.size(); ++i) {
    const PlistValue& entry = list[i];
    if (!shouldIncludeWindow(entry, excludedPIDs, isFormTestsMode)) continue;
    if (!wanted.count(*windowOwnerPid(entry))) continue;
    if (std::optional<WindowInfo> info = windowInfoFromDictionary(entry, static_cast<int64_t>(i))) {
      windows.push_back(std::move(*info));
    }
  }
  sortInWindowOrder(windows);
  return windows;
}

}  // namespace tessary
