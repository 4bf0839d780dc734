#include "platform/fake/element_hit_test.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace tessary::fake {

namespace {

// Left and top edges inside, right and bottom edges outside; a negative
// extent counts from the smaller corner.
bool contains(const Rect& rect, Point point) {
  const double left = std::min(rect.x, rect.x + rect.w), right = std::max(rect.x, rect.x + rect.w);
  const double top = std::min(rect.y, rect.y + rect.h), bottom = std::max(rect.y, rect.y + rect.h);
  return point.x >= left && point.x < right && point.y >= top && point.y < bottom;
}

const AXValueList* storedList(const State& state, uint32_t element, std::string_view attribute) {
  const StoredAnswer* answer = state.elements.find(element, attribute);
  if (!answer || answer->kind != StoredAnswer::Kind::value) return nullptr;
  return answer->value.list();
}

// Every element the element lists as a child of any kind, each once. The
// set keeps a window of many thousand children from costing a search of the
// list per child.
std::vector<uint32_t> childrenOf(const State& state, uint32_t element) {
  static constexpr std::array<std::string_view, 5> kSources = {
      "AXChildren", "AXRows", "AXContents", "AXVisibleChildren", "AXChildrenInNavigationOrder"};
  std::vector<uint32_t> children;
  std::unordered_set<uint32_t> listed;
  for (std::string_view source : kSources) {
    const AXValueList* list = storedList(state, element, source);
    if (!list) continue;
    for (const AXValue& item : *list) {
      const AXElement* child = item.element();
      if (!child) continue;
      std::optional<uint32_t> index = state.elements.indexOf(*child);
      if (index && listed.insert(*index).second) children.push_back(*index);
    }
  }
  return children;
}

// Chains of refs can be as long as the scene; past this depth the search
// gives up on the branch instead of running the stack out.
constexpr int kMaxHitDepth = 1000;

std::optional<uint32_t> hit(const State& state, uint32_t element, Point point,
                            std::unordered_set<uint32_t>& visited, int depth = 0) {
  if (depth > kMaxHitDepth) return std::nullopt;
  if (!visited.insert(element).second) return std::nullopt;  // a cycle, or seen already
  std::optional<Rect> frame = elementFrame(state, element);
  if (frame && !contains(*frame, point)) return std::nullopt;
  std::vector<uint32_t> children = childrenOf(state, element);
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    if (std::optional<uint32_t> found = hit(state, *it, point, visited, depth + 1)) {
      return found;
    }
  }
  if (frame && state.elements.at(element).hitTestable) return element;
  return std::nullopt;
}

}  // namespace

std::optional<Rect> elementFrame(const State& state, uint32_t element) {
  const StoredAnswer* position = state.elements.find(element, "AXPosition");
  const StoredAnswer* size = state.elements.find(element, "AXSize");
  if (!position || !size || position->kind != StoredAnswer::Kind::value ||
      size->kind != StoredAnswer::Kind::value) {
    return std::nullopt;
  }
  std::optional<AXPoint> origin = position->value.point();
  std::optional<AXSize> extent = size->value.size();
  if (!origin || !extent) return std::nullopt;
  return Rect{origin->x, origin->y, extent->width, extent->height};
}

std::optional<uint32_t> hitInElement(const State& state, uint32_t element, Point point) {
  std::unordered_set<uint32_t> visited;
  return hit(state, element, point, visited);
}

std::optional<uint32_t> hitInApplication(const State& state, const ApplicationRecord& app,
                                         Point point) {
  const AXValueList* windows = storedList(state, app.element, "AXWindows");
  if (!windows) return std::nullopt;
  std::unordered_set<uint32_t> visited;
  for (const AXValue& item : *windows) {
    const AXElement* window = item.element();
    std::optional<uint32_t> index = window ? state.elements.indexOf(*window) : std::nullopt;
    if (!index) continue;
    if (std::optional<uint32_t> found = hit(state, *index, point, visited)) return found;
  }
  return std::nullopt;
}

std::optional<size_t> windowUnderPoint(const State& state, Point point) {
  for (size_t i = 0; i < state.windows.size(); ++i) {
    const WindowRecord& window = state.windows[i];
    if (!window.onScreen || window.clickThrough) continue;
    auto find = [&](const char* key) -> const PlistValue* {
      auto it = window.entry.find(key);
      return it == window.entry.end() ? nullptr : &it->second;
    };
    if (const PlistValue* alpha = find("kCGWindowAlpha")) {
      if (std::optional<double> a = alpha->asReal(); a && *a <= 0) continue;
    }
    const PlistValue* owner = find("kCGWindowOwnerPID");
    std::optional<int32_t> pid = owner ? owner->asInt32() : std::nullopt;
    const ApplicationRecord* app = pid ? state.application(*pid) : nullptr;
    if (!app || !app->running) continue;
    const PlistValue* bounds = find("kCGWindowBounds");
    if (!bounds || !bounds->asDict()) continue;
    auto coordinate = [&](const char* key) {
      const PlistValue* value = bounds->find(key);
      return value ? value->asReal().value_or(0) : 0;
    };
    if (contains(Rect{coordinate("X"), coordinate("Y"), coordinate("Width"), coordinate("Height")},
                 point)) {
      return i;
    }
  }
  return std::nullopt;
}

}  // namespace tessary::fake
