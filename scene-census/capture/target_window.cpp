#include "scene-census/capture/target_window.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "common/log_format.h"
#include "common/numbers.h"
#include "common/text.h"
#include "common/unicode.h"
#include "scene-census/capture/log_line.h"

namespace tessary {

namespace {

// A frontmost window this low, this small, or untitled and this low is taken
// for an auxiliary panel of its application.
constexpr double kAuxiliaryMaxHeight = 120;
constexpr double kAuxiliaryMaxArea = 120000;
constexpr double kAuxiliaryUntitledMaxHeight = 200;
// A replacement must be larger than both of these.
constexpr double kReplacementMinArea = 180000;
constexpr double kReplacementAreaFactor = 8;

constexpr std::string_view kUntitled = "(untitled)";

bool overlapsScope(const Rect& scope, const Rect& r) {
  return std::min(scope.x + scope.w, r.x + r.w) > std::max(scope.x, r.x) &&
         std::min(scope.y + scope.h, r.y + r.h) > std::max(scope.y, r.y);
}

std::string titleOrUntitled(std::string_view trimmed) {
  return trimmed.empty() ? std::string(kUntitled) : std::string(trimmed);
}

}  // namespace

std::optional<int32_t> getRequestedTargetPID(const Environment& environment) {
  const std::string* value = environmentValue(environment, kTargetPidVariable);
  if (!value) return std::nullopt;
  return parseInt32(*value);
}

std::optional<Rect> getRequestedScopeBounds(const Environment& environment) {
  const std::string* value = environmentValue(environment, kScopeBoundsVariable);
  if (!value) return std::nullopt;
  std::vector<std::string_view> pieces = splitDroppingEmpty(*value, ',');
  if (pieces.size() != 4) return std::nullopt;
  double numbers[4];
  for (size_t i = 0; i < 4; ++i) {
    std::optional<double> number = parseDouble(trimWhitespaceAndNewlines(pieces[i]));
    if (!number) return std::nullopt;
    numbers[i] = *number;
  }
  Rect scope{numbers[0], numbers[1], numbers[2], numbers[3]};
  bool finite = std::isfinite(scope.x) && std::isfinite(scope.y) && std::isfinite(scope.w) &&
                std::isfinite(scope.h);
  if (!finite || !(scope.w > 0) || !(scope.h > 0)) return std::nullopt;
  return scope;
}

std::optional<WindowInfo> getTopVisibleWindow(WindowServer& windowServer,
                                              const std::set<int32_t>& excludedPIDs,
                                              const std::optional<Rect>& scopeBounds,
                                              std::optional<int32_t> targetPID,
                                              bool isFormTestsMode, std::ostream& err) {
  PlistArray list = getWindowInfo(windowServer);
  std::vector<WindowInfo> candidates;
  for (size_t i = 0; i < list.size(); ++i) {
    if (!shouldIncludeWindow(list[i], excludedPIDs, isFormTestsMode)) continue;
    std::optional<WindowInfo> info = windowInfoFromDictionary(list[i], static_cast<int64_t>(i));
    if (!info) continue;
    if (targetPID && info->pid != *targetPID) continue;
    if (scopeBounds && !overlapsScope(*scopeBounds, info->bounds)) continue;
    candidates.push_back(std::move(*info));
  }
  sortInWindowOrder(candidates);
  if (candidates.empty()) return std::nullopt;

  const WindowInfo& top = candidates.front();
  std::string_view title = trimWhitespaceAndNewlines(top.name);
  double topArea = top.bounds.w * top.bounds.h;
  bool auxiliary = top.bounds.h < kAuxiliaryMaxHeight || topArea < kAuxiliaryMaxArea ||
                   (title.empty() && top.bounds.h < kAuxiliaryUntitledMaxHeight);
  if (!auxiliary) return top;

  double neededArea = std::max(kReplacementMinArea, kReplacementAreaFactor * topArea);
  for (const WindowInfo& candidate : candidates) {
    if (candidate.pid != top.pid) continue;
    if (!(candidate.bounds.w * candidate.bounds.h > neededArea)) continue;
    writeLine(err, "DEBUG: Replacing auxiliary top window '" + titleOrUntitled(title) +
                       "' bounds=" + formatBoundsTuple(top.bounds) + " with '" +
                       titleOrUntitled(trimWhitespaceAndNewlines(candidate.name)) +
                       "' bounds=" + formatBoundsTuple(candidate.bounds));
    return candidate;
  }
  return top;
}

}  // namespace tessary
