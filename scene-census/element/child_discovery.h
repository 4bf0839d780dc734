// Which live elements become an element's children: the child sources an
// application fills differently, combined by role without duplicates.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "platform/ax_value.h"

namespace tessary {

using AXElementList = std::vector<AXElement>;

// The five child attributes, in the order they are read.
struct ChildSources {
  std::optional<AXElementList> visibleChildren;  // "AXVisibleChildren"
  std::optional<AXElementList> children;         // "AXChildren"
  std::optional<AXElementList> rows;             // "AXRows"
  std::optional<AXElementList> contents;         // "AXContents"
  std::optional<AXElementList> navigationOrder;  // "AXChildrenInNavigationOrder"
};

bool isContainerRole(std::string_view role);
bool isRowRole(std::string_view role);
bool isCulledRole(std::string_view role);

// `first` unchanged, then the elements of `second` whose hash has not been
// seen yet, in order.
AXElementList mergeAXChildLists(AXElementList first, const AXElementList& second);
// Absent when no source is present; otherwise the present sources merged in
// order, empty ones skipped once the result has elements.
std::optional<AXElementList> mergeAXChildSources(std::vector<std::optional<AXElementList>> sources);

// The candidate children of an element with `role`, before row culling and
// depth checks; empty when there are none.
AXElementList chooseChildCandidates(std::string_view role, ChildSources sources);

// Same element: the platform's hash of the references agrees. The macOS
// backend hands out a new reference with every answer, so reference identity
// never matches there; the hash is the platform's own notion of one element,
// the same that duplicate removal uses.
inline bool sameAXElement(const AXElement& a, const AXElement& b) {
  return a.hash() == b.hash();
}

}  // namespace tessary
