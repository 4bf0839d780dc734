#include "hit-probe/hit_element.h"

#include <array>
#include <optional>
#include <string>

#include "common/unicode.h"
#include "hit-probe/element_identifier.h"
#include "hit-probe/element_readers.h"

namespace tessary::hitprobe {

namespace {

// The identifier's inputs plus the value, so the whole object costs one round
// trip and the identifier sees exactly the answers the other keys see.
constexpr std::array<std::string_view, 8> kHitElementAttributes = {
    kIdentifierAttributes[0], kIdentifierAttributes[1],
    kIdentifierAttributes[2], kIdentifierAttributes[3],
    kIdentifierAttributes[4], kIdentifierAttributes[5],
    kIdentifierAttributes[6], "AXValue"};

namespace slot {
constexpr size_t role = 0, title = 1, description = 2, roleDescription = 3, position = 5, size = 6,
                 value = 7;
}  // namespace slot

bool hasVisibleText(const std::optional<std::string>& text) {
  return text && !trimWhitespaceAndNewlines(*text).empty();
}

}  // namespace

JsonObject serializeHitElement(Accessibility& accessibility, const AXElement& element) {
  std::vector<AXResult> answers =
      accessibility.copyMultipleAttributeValues(element, kHitElementAttributes);
  BatchAnswers batch(answers);

  std::string label;
  for (size_t index : {slot::title, slot::description, slot::roleDescription}) {
    std::optional<std::string> text = batch.text(index);
    if (hasVisibleText(text)) {
      label = std::move(*text);
      break;
    }
  }

  JsonObject hit;
  std::span<const AXResult> identifierAnswers(
      answers.data(), std::min(answers.size(), kIdentifierAttributes.size()));
  hit.set("id", identifierFromAnswers(identifierAnswers));
  hit.set("role", batch.text(slot::role).value_or("Unknown"));
  hit.set("label", std::move(label));
  if (std::optional<std::string> value = batch.text(slot::value); value && !value->empty()) {
    hit.set("value", std::move(*value));
  }
  if (std::optional<Rect> rect =
          rectFromPositionAndSize(batch.point(slot::position), batch.size(slot::size))) {
    Box box = rectToBBoxArray(*rect);
    hit.set("bbox", JsonArray{box[0], box[1], box[2], box[3]});
  }
  return hit;
}

}  // namespace tessary::hitprobe
