// Small typed readers over accessibility answers. Every failed, empty or
// wrong-typed answer reads as absent.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "common/geometry.h"
#include "platform/accessibility.h"
#include "platform/ax_value.h"

namespace tessary::hitprobe {

// [int(min x), int(min y), int(max x), int(max y)]; int truncates toward zero,
// maps NaN and infinity to 0 and saturates at the 64-bit range.
Box rectToBBoxArray(const Rect& rect);

// Answers of one batched read (AttributeReader::elementAttributes), looked up
// by position; a position past the answers is absent.
class BatchAnswers {
 public:
  explicit BatchAnswers(std::span<const std::optional<AXValue>> answers) : answers_(answers) {}

  const AXValue* value(size_t index) const;
  std::optional<std::string> text(size_t index) const;
  std::optional<Point> point(size_t index) const;
  std::optional<Size> size(size_t index) const;

 private:
  std::span<const std::optional<AXValue>> answers_;
};

// True when `text` is there and not empty after trimming whitespace and
// newlines.
bool hasVisibleText(const std::optional<std::string>& text);

// "AXValue" when it is text; one round trip.
std::optional<std::string> valueString(Accessibility& accessibility, const AXElement& element);

// The rectangle of a position and a size, when both are there.
std::optional<Rect> rectFromPositionAndSize(const std::optional<Point>& position,
                                            const std::optional<Size>& size);

}  // namespace tessary::hitprobe
