#include "field-writer/focus_chain.h"

#include <algorithm>

namespace tessary::fieldwriter {

namespace {

std::optional<AXElement> elementAnswer(const AXResult& answer) {
  const AXValue* value = answer.get();
  const AXElement* element = value ? value->element() : nullptr;
  if (!element || !*element) return std::nullopt;
  return *element;
}

}  // namespace

std::optional<AXElement> focusedElement(Accessibility& accessibility) {
  return elementAnswer(
      accessibility.copyAttributeValue(accessibility.systemWideElement(), "AXFocusedUIElement"));
}

std::vector<AXElement> ancestorChain(Accessibility& accessibility, const AXElement& start,
                                     int limit) {
  std::vector<AXElement> chain{start};
  for (int step = 0; step < limit; ++step) {
    std::optional<AXElement> parent =
        elementAnswer(accessibility.copyAttributeValue(chain.back(), "AXParent"));
    if (!parent) break;
    // A parent loop would only offer the same elements again.
    bool seen = std::any_of(chain.begin(), chain.end(), [&](const AXElement& element) {
      return element.hash() == parent->hash();
    });
    if (seen) break;
    chain.push_back(std::move(*parent));
  }
  return chain;
}

}  // namespace tessary::fieldwriter
