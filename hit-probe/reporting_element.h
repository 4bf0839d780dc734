// Which element of a blocking chain is worth naming to the host.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/accessibility.h"
#include "platform/ax_value.h"

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

// The index of the first chain element with an actionable role or a
// meaningful label, else 0. `identifierAnswers[i]` are chain[i]'s answers to
// kIdentifierAttributes, which already hold the role and the label texts;
// "AXValue" is read only for an element those do not decide. `chain` must not
// be empty.
size_t preferredReportingElement(
    Accessibility& accessibility, const std::vector<AXElement>& chain,
    std::span<const std::vector<std::optional<AXValue>>> identifierAnswers);

}  // namespace tessary::hitprobe
