// The element map of the capture JSON.
#include "scene-census/element/ui_element.h"
#include "scene-census/serialize/element_fields.h"

namespace tessary {

namespace {

JsonArray boxArray(const Box& box) {
  return JsonArray{box[0], box[1], box[2], box[3]};
}

}  // namespace

JsonObject UIElement::toDict() const {
  JsonObject map;
  map.set("id", identifier_);
  if (name_) map.set("name", *name_);
  map.set("role", role_);
  if (description_) map.set("description", *description_);
  if (roleDescription_) map.set("role_description", *roleDescription_);
  if (std::string value; appendValueText(*this, value)) map.set("value", std::move(value));
  std::string position, size;
  appendPositionText(*this, position);
  appendSizeText(*this, size);
  map.set("position", std::move(position));
  map.set("size", std::move(size));
  map.set("enabled", enabled_);
  map.set("focused", focused_);
  if (bbox_) map.set("bbox", boxArray(*bbox_));
  if (std::optional<Box> visible = printedVisibleBox(*this)) {
    map.set("visible_bbox", boxArray(*visible));
  }
  map.set("visible", visible_);
  JsonArray children;
  children.reserve(children_.size());
  for (const std::unique_ptr<UIElement>& child : children_)
    children.emplace_back(child->toDict());
  map.set("children", std::move(children));
  if (printsAppName(*this)) map.set("app_name", *appName_);
  return map;
}

}  // namespace tessary
