#include "scene-census/serialize/element_fields.h"

#include <cstdio>
#include <limits>

#include "scene-census/serialize/number_text.h"

namespace tessary {

namespace {

// Application names that are printed on every element, not only on windows:
// the system's own bars are captured as applications of their own.
bool isSystemBarApplication(const std::string& appName) {
  return appName == "Dock" || appName == "MenuBar (App)" || appName == "MenuBar (System)";
}

void appendPair(const char* format, double a, double b, std::string& out) {
  // "%.2f;%.2f" of the largest doubles needs about 2 * 312 characters.
  char buffer[700];
  int length = std::snprintf(buffer, sizeof buffer, format, a, b);
  if (length < 0) return;
  out.append(buffer, std::min(static_cast<size_t>(length), sizeof buffer - 1));
}

// Box entry plus window offset, held at the 64-bit limits instead of
// overflowing.
int64_t shifted(int64_t entry, int64_t offset) {
  int64_t sum;
  if (!__builtin_add_overflow(entry, offset, &sum)) return sum;
  return offset > 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
}

}  // namespace

bool appendValueText(const UIElement& element, std::string& out) {
  if (!element.value()) return false;
  if (const std::string* text = element.value()->text()) {
    out += *text;
    return true;
  }
  return appendNumberText(*element.value(), out);
}

void appendPositionText(const UIElement& element, std::string& out) {
  if (const std::optional<Point>& p = element.position()) appendPair("%.2f;%.2f", p->x, p->y, out);
}

void appendSizeText(const UIElement& element, std::string& out) {
  if (const std::optional<Size>& s = element.size()) {
    appendPair("%.0f;%.0f", s->width, s->height, out);
  }
}

std::optional<Box> printedVisibleBox(const UIElement& element) {
  const std::optional<Box>& box = element.visibleBBox();
  if (!box || element.role() == "AXWindow") return box;
  // Kept relative to the window; printed in screen coordinates like "bbox".
  const int64_t dx = safeInt(element.windowOffsetX()), dy = safeInt(element.windowOffsetY());
  const Box& v = *box;
  return Box{shifted(v[0], dx), shifted(v[1], dy), shifted(v[2], dx), shifted(v[3], dy)};
}

bool printsAppName(const UIElement& element) {
  const std::optional<std::string>& appName = element.appName();
  return appName && (element.role() == "AXWindow" || isSystemBarApplication(*appName));
}

}  // namespace tessary
