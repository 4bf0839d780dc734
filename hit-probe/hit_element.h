// The "hit" object of a blocked report: what lies in the way.
#pragma once

#include <optional>
#include <span>

#include "common/json.h"
#include "platform/accessibility.h"

namespace tessary::hitprobe {

// "id", "role" ("Unknown" without one), "label" (the first of title,
// description and role description with visible text, untrimmed, else ""),
// "value" when the value text is not empty, and "bbox" when position and size
// are both known. `identifierAnswers` are the element's answers to
// kIdentifierAttributes, already read for the match; only "AXValue" is read
// here.
JsonObject serializeHitElement(Accessibility& accessibility, const AXElement& element,
                               std::span<const std::optional<AXValue>> identifierAnswers);

}  // namespace tessary::hitprobe
