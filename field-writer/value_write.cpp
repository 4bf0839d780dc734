#include "field-writer/value_write.h"

namespace tessary::fieldwriter {

bool isAttributeSettable(Accessibility& accessibility, const AXElement& element,
                         std::string_view attribute) {
  AXResult answer = accessibility.isAttributeSettable(element, attribute);
  const AXValue* value = answer.get();
  return value && value->boolean().value_or(false);
}

int32_t setStringValue(Accessibility& accessibility, const AXElement& element,
                       const std::string& text) {
  return accessibility.setAttributeValue(element, "AXValue", AXValue(text));
}

bool writeValue(Platform& platform, const AXElement& element, const std::string& text) {
  Accessibility& accessibility = platform.accessibility;
  if (!isAttributeSettable(accessibility, element, "AXValue")) return false;
  int32_t result = setStringValue(accessibility, element, text);
  if (result == kBusyResult) {
    platform.clock.sleepMicroseconds(kBusyRetryDelayMicroseconds);
    result = setStringValue(accessibility, element, text);
  }
  return result == axerror::success;
}

}  // namespace tessary::fieldwriter
