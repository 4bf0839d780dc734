// The focused element and the ancestors a write may land on.
#pragma once

#include <optional>
#include <vector>

#include "platform/accessibility.h"

namespace tessary::fieldwriter {

// A web page often focuses an inner node of its text input; four levels up
// reaches the input without wandering into the page around it.
inline constexpr int kMaxAncestors = 4;

// The system-wide element's "AXFocusedUIElement"; nothing when the read fails
// or answers no element.
std::optional<AXElement> focusedElement(Accessibility& accessibility);

// `start` followed by at most `limit` of its ancestors, nearest first; stops
// at a failed "AXParent" read, at a parent that is no element, and at an
// element already in the chain.
std::vector<AXElement> ancestorChain(Accessibility& accessibility, const AXElement& start,
                                     int limit);

}  // namespace tessary::fieldwriter
