#include "hit-probe/element_identifier.h"

#include <optional>

#include "common/stable_identifier.h"
#include "common/unicode.h"
#include "hit-probe/element_readers.h"

namespace tessary::hitprobe {

std::string identifierFromAnswers(std::span<const std::optional<AXValue>> answers) {
  BatchAnswers batch(answers);
  std::string elementRole = batch.text(slot::role).value_or("No role");

  // Trimmed exactly as the capture trims it; nothing left means no native
  // identifier.
  std::optional<std::string> nativeIdentifier;
  if (std::optional<std::string> raw = batch.text(slot::identifier)) {
    std::string_view trimmed = trimWhitespaceAndNewlines(*raw);
    if (!trimmed.empty()) nativeIdentifier = std::string(trimmed);
  }

  std::optional<Point> elementPosition = batch.point(slot::position);
  std::optional<Size> elementSize = batch.size(slot::size);
  std::optional<Box> box;
  if (elementPosition && elementSize) {
    // Not standardized: the capture's bbox is built the same way.
    box = Box{safeInt(elementPosition->x), safeInt(elementPosition->y),
              safeInt(elementPosition->x + elementSize->width),
              safeInt(elementPosition->y + elementSize->height)};
  }

  return stableElementIdentifier(elementRole, nativeIdentifier, box, elementPosition, elementSize,
                                 batch.text(slot::title), batch.text(slot::description),
                                 batch.text(slot::roleDescription));
}

IdentifierAnswers readIdentifierAnswers(AttributeReader& reader, const AXElement& element) {
  IdentifierAnswers answers = reader.elementAttributes(element, kIdentifierAttributes);
  answers.resize(kIdentifierAttributes.size());
  return answers;
}

std::string elementStableIdentifier(AttributeReader& reader, const AXElement& element) {
  return identifierFromAnswers(readIdentifierAnswers(reader, element));
}

}  // namespace tessary::hitprobe
