#include "hit-probe/hit_test.h"

#include <algorithm>

namespace tessary::hitprobe {

namespace {

std::optional<AXElement> elementAt(Accessibility& accessibility, const AXElement& root,
                                   CandidatePoint point) {
  AXResult answer = accessibility.elementAtPosition(root, static_cast<float>(point.x),
                                                    static_cast<float>(point.y));
  const AXValue* value = answer.get();
  const AXElement* element = value ? value->element() : nullptr;
  if (!element || !*element) return std::nullopt;
  return *element;
}

double numberOr(const PlistValue* value, double fallback) {
  if (!value) return fallback;
  return value->asReal().value_or(fallback);
}

// Left and top edges inside, right and bottom edges outside; a rectangle with
// a negative extent is taken from its smaller corner, as the platform does.
bool rectContains(double x, double y, double width, double height, double px, double py) {
  const double left = std::min(x, x + width), right = std::max(x, x + width);
  const double top = std::min(y, y + height), bottom = std::max(y, y + height);
  return px >= left && px < right && py >= top && py < bottom;
}

}  // namespace

std::optional<int32_t> topmostNonExcludedWindowPID(WindowServer& windowServer, CandidatePoint point,
                                                   const std::set<int32_t>& excludedPIDs) {
  std::optional<PlistArray> windows =
      windowServer.copyWindowInfo(kLookThroughWindowListOptions, windowlist::nullWindowId);
  if (!windows) return std::nullopt;
  const double px = static_cast<double>(point.x), py = static_cast<double>(point.y);
  for (const PlistValue& window : *windows) {
    const PlistValue* ownerValue = window.find("kCGWindowOwnerPID");
    std::optional<int32_t> owner = ownerValue ? ownerValue->asInt32() : std::nullopt;
    if (!owner || excludedPIDs.contains(*owner)) continue;
    if (const PlistValue* alpha = window.find("kCGWindowAlpha")) {
      if (std::optional<double> a = alpha->asReal(); a && *a < 0.01) continue;
    }
    if (const PlistValue* layer = window.find("kCGWindowLayer")) {
      if (std::optional<int64_t> l = layer->asInteger(); l && *l > 10) continue;
    }
    const PlistValue* bounds = window.find("kCGWindowBounds");
    if (!bounds || !bounds->asDict()) continue;
    if (rectContains(numberOr(bounds->find("X"), 0), numberOr(bounds->find("Y"), 0),
                     numberOr(bounds->find("Width"), 0), numberOr(bounds->find("Height"), 0), px,
                     py)) {
      return owner;
    }
  }
  return std::nullopt;
}

std::optional<AXElement> hitTest(Platform& platform, CandidatePoint point,
                                 const std::set<int32_t>& excludedPIDs) {
  Accessibility& accessibility = platform.accessibility;
  if (std::optional<AXElement> element =
          elementAt(accessibility, accessibility.systemWideElement(), point)) {
    std::optional<int32_t> owner = accessibility.processIdentifier(*element);
    if (owner && !excludedPIDs.contains(*owner)) return element;
  }
  // The host's overlay (or nothing readable) is in front: ask the application
  // of the topmost window that is not excluded.
  std::optional<int32_t> pid =
      topmostNonExcludedWindowPID(platform.windowServer, point, excludedPIDs);
  if (!pid) return std::nullopt;
  return elementAt(accessibility, accessibility.applicationElement(*pid), point);
}

}  // namespace tessary::hitprobe
