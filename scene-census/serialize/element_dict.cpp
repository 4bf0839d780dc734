// The element map of the capture JSON.
#include <cstdio>
#include <limits>

#include "scene-census/element/ui_element.h"
#include "scene-census/serialize/number_text.h"

namespace tessary {

namespace {

// Application names that are printed on every element, not only on windows:
// the system's own bars are captured as applications of their own.
bool isSystemBarApplication(const std::string& appName) {
  return appName == "Dock" || appName == "MenuBar (App)" || appName == "MenuBar (System)";
}

std::string formatPair(const char* format, double a, double b) {
  // "%.2f;%.2f" of the largest doubles needs about 2 * 312 characters.
  char buffer[700];
  int length = std::snprintf(buffer, sizeof buffer, format, a, b);
  if (length < 0) return std::string();
  return std::string(buffer, std::min(static_cast<size_t>(length), sizeof buffer - 1));
}

JsonArray boxArray(const Box& box) {
  return JsonArray{box[0], box[1], box[2], box[3]};
}

// Box entry plus window offset, held at the 64-bit limits instead of
// overflowing.
int64_t shifted(int64_t entry, int64_t offset) {
  int64_t sum;
  if (!__builtin_add_overflow(entry, offset, &sum)) return sum;
  return offset > 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
}

}  // namespace

JsonObject UIElement::toDict() const {
  JsonObject map;
  map.set("id", identifier_);
  if (name_) map.set("name", *name_);
  map.set("role", role_);
  if (description_) map.set("description", *description_);
  if (roleDescription_) map.set("role_description", *roleDescription_);
  if (value_) {
    if (const std::string* text = value_->text()) {
      map.set("value", *text);
    } else if (std::string number; appendNumberText(*value_, number)) {
      map.set("value", std::move(number));
    }
  }
  map.set("position", position_ ? formatPair("%.2f;%.2f", position_->x, position_->y) : "");
  map.set("size", size_ ? formatPair("%.0f;%.0f", size_->width, size_->height) : "");
  map.set("enabled", enabled_);
  map.set("focused", focused_);
  if (bbox_) map.set("bbox", boxArray(*bbox_));
  if (visibleBBox_) {
    if (role_ == "AXWindow") {
      map.set("visible_bbox", boxArray(*visibleBBox_));
    } else {
      // The visible box is kept relative to the window; the map prints it in
      // screen coordinates like "bbox".
      int64_t dx = safeInt(windowOffsetX_), dy = safeInt(windowOffsetY_);
      const Box& v = *visibleBBox_;
      map.set("visible_bbox", boxArray({shifted(v[0], dx), shifted(v[1], dy), shifted(v[2], dx),
                                        shifted(v[3], dy)}));
    }
  }
  map.set("visible", visible_);
  JsonArray children;
  children.reserve(children_.size());
  for (const std::unique_ptr<UIElement>& child : children_)
    children.emplace_back(child->toDict());
  map.set("children", std::move(children));
  if (appName_ && (role_ == "AXWindow" || isSystemBarApplication(*appName_))) {
    map.set("app_name", *appName_);
  }
  return map;
}

}  // namespace tessary
