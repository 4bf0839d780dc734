#include "hit-probe/hit_element.h"

#include <optional>
#include <string>

#include "hit-probe/element_identifier.h"
#include "hit-probe/element_readers.h"

namespace tessary::hitprobe {

JsonObject serializeHitElement(Accessibility& accessibility, const AXElement& element,
                               std::span<const std::optional<AXValue>> identifierAnswers) {
  BatchAnswers batch(identifierAnswers);

  std::string label;
  for (size_t index : {slot::title, slot::description, slot::roleDescription}) {
    std::optional<std::string> text = batch.text(index);
    if (hasVisibleText(text)) {
      label = std::move(*text);
      break;
    }
  }

  JsonObject hit;
  hit.set("id", identifierFromAnswers(identifierAnswers));
  hit.set("role", batch.text(slot::role).value_or("Unknown"));
  hit.set("label", std::move(label));
  if (std::optional<std::string> value = valueString(accessibility, element);
      value && !value->empty()) {
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
