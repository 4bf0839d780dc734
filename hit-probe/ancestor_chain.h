// The hit element and its ancestors, nearest first.
#pragma once

#include <vector>

#include "platform/accessibility.h"

namespace tessary::hitprobe {

inline constexpr int kAncestorChainDepth = 12;

// `element` followed by its "AXParent" chain, at most `maxDepth` elements in
// all; stops at a failed read, at a parent that is no element, and at the
// first element whose hash is already in the chain (a cycle). Empty when
// `maxDepth` is below 1.
std::vector<AXElement> ancestorChain(Accessibility& accessibility, const AXElement& element,
                                     int maxDepth = kAncestorChainDepth);

}  // namespace tessary::hitprobe
