// Writing the new text into one element.
#pragma once

#include <string>
#include <string_view>

#include "platform/platform.h"

namespace tessary::fieldwriter {

// What an application answers while it is briefly busy; worth one retry.
inline constexpr int32_t kBusyResult = axerror::cannotComplete;
inline constexpr uint64_t kBusyRetryDelayMicroseconds = 100000;

// True when the question succeeds and answers yes.
bool isAttributeSettable(Accessibility& accessibility, const AXElement& element,
                         std::string_view attribute);
// Sets "AXValue" to `text`; the platform's result code, 0 for success.
int32_t setStringValue(Accessibility& accessibility, const AXElement& element,
                       const std::string& text);
// Settable test, write, and one retry after 100 ms when the application was
// busy. True when the value was set.
bool writeValue(Platform& platform, const AXElement& element, const std::string& text);

}  // namespace tessary::fieldwriter
