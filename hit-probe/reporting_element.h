// Which element of a blocking chain is worth naming to the host.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/accessibility.h"

namespace tessary::hitprobe {

// Roles a user acts on directly.
bool isActionableRole(std::string_view role);

// The texts that decide whether an element says something to a person.
struct LabelTexts {
  std::optional<std::string> title, description, roleDescription, value;
};

// True when title, description, role description or value text is not empty
// after trimming whitespace and newlines.
bool hasMeaningfulLabel(const LabelTexts& texts);
// Reads the four texts in one round trip.
bool hasMeaningfulLabel(Accessibility& accessibility, const AXElement& element);

// The first chain element with an actionable role or a meaningful label, else
// the first element. `chain` must not be empty.
const AXElement& preferredReportingElement(Accessibility& accessibility,
                                           const std::vector<AXElement>& chain);

}  // namespace tessary::hitprobe
