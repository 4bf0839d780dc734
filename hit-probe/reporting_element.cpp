#include "hit-probe/reporting_element.h"

#include <algorithm>
#include <array>

#include "hit-probe/element_identifier.h"
#include "hit-probe/element_readers.h"

namespace tessary::hitprobe {

namespace {

constexpr std::array<std::string_view, 8> kActionableRoles = {
    "AXButton",      "AXTextField",  "AXTextArea", "AXComboBox",
    "AXPopUpButton", "AXMenuButton", "AXCheckBox", "AXRadioButton"};

}  // namespace

bool isActionableRole(std::string_view role) {
  return std::find(kActionableRoles.begin(), kActionableRoles.end(), role) !=
         kActionableRoles.end();
}

bool hasMeaningfulLabel(const LabelTexts& texts) {
  return hasVisibleText(texts.title) || hasVisibleText(texts.description) ||
         hasVisibleText(texts.roleDescription) || hasVisibleText(texts.value);
}

size_t preferredReportingElement(
    Accessibility& accessibility, const std::vector<AXElement>& chain,
    std::span<const std::vector<std::optional<AXValue>>> identifierAnswers) {
  for (size_t i = 0; i < chain.size() && i < identifierAnswers.size(); ++i) {
    BatchAnswers batch(identifierAnswers[i]);
    if (isActionableRole(batch.text(slot::role).value_or(""))) return i;
    LabelTexts texts{batch.text(slot::title), batch.text(slot::description),
                     batch.text(slot::roleDescription), std::nullopt};
    if (hasMeaningfulLabel(texts)) return i;
    // Most elements have a role description, so the value is seldom needed.
    texts.value = valueString(accessibility, chain[i]);
    if (hasMeaningfulLabel(texts)) return i;
  }
  return 0;
}

}  // namespace tessary::hitprobe
