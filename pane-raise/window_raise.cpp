#include "pane-raise/window_raise.h"

#include <array>
#include <cmath>
#include <string_view>

#include "common/unicode.h"

namespace tessary::paneraise {

namespace {

constexpr std::string_view kWindowsAttribute = "AXWindows";
constexpr std::string_view kFocusedWindowAttribute = "AXFocusedWindow";
constexpr std::string_view kMainAttribute = "AXMain";
constexpr std::string_view kFocusedAttribute = "AXFocused";
constexpr std::string_view kRaiseAction = "AXRaise";
// One round trip per window instead of three; a batch answers each attribute
// as a single read would.
constexpr std::array<std::string_view, 3> kMatchAttributes = {"AXTitle", "AXPosition", "AXSize"};

AXWindowFacts readFacts(Accessibility& accessibility, const AXElement& window) {
  std::vector<AXResult> answers =
      accessibility.copyMultipleAttributeValues(window, kMatchAttributes);
  answers.resize(kMatchAttributes.size());
  AXWindowFacts facts;
  if (const AXValue* title = answers[0].get(); title && title->text()) {
    facts.title = std::string(trimWhitespaceAndNewlines(*title->text()));
  }
  if (const AXValue* position = answers[1].get()) facts.position = position->point();
  if (const AXValue* size = answers[2].get()) facts.size = size->size();
  return facts;
}

bool within(double a, double b, double tolerance) {
  return std::fabs(a - b) <= tolerance;
}

}  // namespace

bool windowMatchesTarget(const AXWindowFacts& window, const std::string& targetTitle,
                         const Rect& target) {
  if (!targetTitle.empty() && window.title == targetTitle) return true;
  if (!window.position || !window.size) return false;
  return within(window.position->x, target.x, kPositionTolerance) &&
         within(window.position->y, target.y, kPositionTolerance) &&
         within(window.size->width, target.w, kSizeTolerance) &&
         within(window.size->height, target.h, kSizeTolerance);
}

bool raiseMatchingWindow(Accessibility& accessibility, int32_t pid, const std::string& targetTitle,
                         const Rect& target) {
  const AXElement application = accessibility.applicationElement(pid);
  AXResult windowsAnswer = accessibility.copyAttributeValue(application, kWindowsAttribute);
  const AXValue* windowsValue = windowsAnswer.get();
  std::optional<std::vector<AXElement>> windows =
      windowsValue ? windowsValue->elementList() : std::nullopt;
  if (!windows) return false;
  for (const AXElement& window : *windows) {
    if (!windowMatchesTarget(readFacts(accessibility, window), targetTitle, target)) continue;
    accessibility.performAction(window, kRaiseAction);
    accessibility.setAttributeValue(application, kFocusedWindowAttribute, AXValue(window));
    accessibility.setAttributeValue(window, kMainAttribute, AXValue(true));
    accessibility.setAttributeValue(window, kFocusedAttribute, AXValue(true));
    return true;
  }
  return false;
}

}  // namespace tessary::paneraise
