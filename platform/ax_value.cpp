#include "platform/ax_value.h"

namespace tessary {

std::optional<bool> AXValue::boolean() const {
  if (auto* b = std::get_if<bool>(&storage_)) return *b;
  return std::nullopt;
}

std::optional<bool> AXValue::truthValue() const {
  if (auto* b = std::get_if<bool>(&storage_)) return *b;
  std::optional<double> value;
  if (auto* i = std::get_if<int64_t>(&storage_)) value = static_cast<double>(*i);
  if (auto* d = std::get_if<double>(&storage_)) value = *d;
  if (value == 0.0) return false;
  if (value == 1.0) return true;
  return std::nullopt;
}

std::optional<double> AXValue::number() const {
  if (auto* i = std::get_if<int64_t>(&storage_)) return static_cast<double>(*i);
  if (auto* d = std::get_if<double>(&storage_)) return *d;
  if (auto* b = std::get_if<bool>(&storage_)) return *b ? 1.0 : 0.0;
  return std::nullopt;
}

std::optional<AXPoint> AXValue::point() const {
  if (auto* p = std::get_if<AXPoint>(&storage_)) return *p;
  return std::nullopt;
}

std::optional<AXSize> AXValue::size() const {
  if (auto* s = std::get_if<AXSize>(&storage_)) return *s;
  return std::nullopt;
}

std::optional<AXRect> AXValue::rect() const {
  if (auto* r = std::get_if<AXRect>(&storage_)) return *r;
  return std::nullopt;
}

std::optional<AXRange> AXValue::range() const {
  if (auto* r = std::get_if<AXRange>(&storage_)) return *r;
  return std::nullopt;
}

std::optional<std::vector<AXElement>> AXValue::elementList() const {
  const AXValueList* items = list();
  if (!items) return std::nullopt;
  std::vector<AXElement> elements;
  elements.reserve(items->size());
  for (const AXValue& item : *items) {
    const AXElement* element = item.element();
    if (!element) return std::nullopt;
    elements.push_back(*element);
  }
  return elements;
}

}  // namespace tessary
