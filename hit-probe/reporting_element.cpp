#include "hit-probe/reporting_element.h"

#include <algorithm>
#include <array>

#include "common/unicode.h"
#include "hit-probe/element_readers.h"

namespace tessary::hitprobe {

namespace {

constexpr std::array<std::string_view, 8> kActionableRoles = {
    "AXButton",      "AXTextField",  "AXTextArea", "AXComboBox",
    "AXPopUpButton", "AXMenuButton", "AXCheckBox", "AXRadioButton"};

bool hasVisibleText(const std::optional<std::string>& text) {
  return text && !trimWhitespaceAndNewlines(*text).empty();
}

}  // namespace

bool isActionableRole(std::string_view role) {
  return std::find(kActionableRoles.begin(), kActionableRoles.end(), role) !=
         kActionableRoles.end();
}

bool hasMeaningfulLabel(const LabelTexts& texts) {
  return hasVisibleText(texts.title) || hasVisibleText(texts.description) ||
         hasVisibleText(texts.roleDescription) || hasVisibleText(texts.value);
}

bool hasMeaningfulLabel(Accessibility& accessibility, const AXElement& element) {
  static constexpr std::array<std::string_view, 4> kAttributes = {"AXTitle", "AXDescription",
                                                                  "AXRoleDescription", "AXValue"};
  std::vector<AXResult> answers = accessibility.copyMultipleAttributeValues(element, kAttributes);
  BatchAnswers batch(answers);
  return hasMeaningfulLabel(LabelTexts{batch.text(0), batch.text(1), batch.text(2), batch.text(3)});
}

const AXElement& preferredReportingElement(Accessibility& accessibility,
                                           const std::vector<AXElement>& chain) {
  // Role and label texts of one element come back in one round trip.
  static constexpr std::array<std::string_view, 5> kAttributes = {
      "AXRole", "AXTitle", "AXDescription", "AXRoleDescription", "AXValue"};
  for (const AXElement& element : chain) {
    std::vector<AXResult> answers = accessibility.copyMultipleAttributeValues(element, kAttributes);
    BatchAnswers batch(answers);
    if (isActionableRole(batch.text(0).value_or(""))) return element;
    if (hasMeaningfulLabel(
            LabelTexts{batch.text(1), batch.text(2), batch.text(3), batch.text(4)})) {
      return element;
    }
  }
  return chain.front();
}

}  // namespace tessary::hitprobe
