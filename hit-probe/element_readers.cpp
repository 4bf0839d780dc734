#include "hit-probe/element_readers.h"

#include <algorithm>

#include "common/unicode.h"

namespace tessary::hitprobe {

const AXValue* BatchAnswers::value(size_t index) const {
  return index < answers_.size() && answers_[index] ? &*answers_[index] : nullptr;
}

std::optional<std::string> BatchAnswers::text(size_t index) const {
  const AXValue* answer = value(index);
  const std::string* text = answer ? answer->text() : nullptr;
  if (!text) return std::nullopt;
  return *text;
}

std::optional<Point> BatchAnswers::point(size_t index) const {
  const AXValue* answer = value(index);
  return answer ? answer->point() : std::nullopt;
}

std::optional<Size> BatchAnswers::size(size_t index) const {
  const AXValue* answer = value(index);
  return answer ? answer->size() : std::nullopt;
}

bool hasVisibleText(const std::optional<std::string>& text) {
  return text && !trimWhitespaceAndNewlines(*text).empty();
}

std::optional<std::string> valueString(Accessibility& accessibility, const AXElement& element) {
  AXResult answer = accessibility.copyAttributeValue(element, "AXValue");
  const AXValue* value = answer.get();
  const std::string* text = value ? value->text() : nullptr;
  if (!text) return std::nullopt;
  return *text;
}

std::optional<Rect> rectFromPositionAndSize(const std::optional<Point>& position,
                                            const std::optional<Size>& size) {
  if (!position || !size) return std::nullopt;
  return Rect{position->x, position->y, size->width, size->height};
}

Box rectToBBoxArray(const Rect& rect) {
  const double right = rect.x + rect.w;
  const double bottom = rect.y + rect.h;
  return {safeInt(std::min(rect.x, right)), safeInt(std::min(rect.y, bottom)),
          safeInt(std::max(rect.x, right)), safeInt(std::max(rect.y, bottom))};
}

}  // namespace tessary::hitprobe
