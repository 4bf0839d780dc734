#include "hit-probe/ancestor_chain.h"

#include <algorithm>

namespace tessary::hitprobe {

std::vector<AXElement> ancestorChain(Accessibility& accessibility, const AXElement& element,
                                     int maxDepth) {
  std::vector<AXElement> chain;
  if (maxDepth < 1 || !element) return chain;
  std::vector<uint64_t> seenHashes;
  AXElement current = element;
  for (;;) {
    chain.push_back(current);
    seenHashes.push_back(current.hash());
    // A full chain needs no further parent, so the read is skipped.
    if (chain.size() >= static_cast<size_t>(maxDepth)) break;
    AXResult parentAnswer = accessibility.copyAttributeValue(current, "AXParent");
    const AXValue* parentValue = parentAnswer.get();
    const AXElement* parent = parentValue ? parentValue->element() : nullptr;
    if (!parent || !*parent) break;
    if (std::find(seenHashes.begin(), seenHashes.end(), parent->hash()) != seenHashes.end()) break;
    current = *parent;
  }
  return chain;
}

}  // namespace tessary::hitprobe
