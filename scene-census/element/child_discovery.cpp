#include "scene-census/element/child_discovery.h"

#include <algorithm>
#include <cstdint>
#include <unordered_set>
#include <utility>

namespace tessary {

namespace {

// Below this many elements a linear scan beats building a hash set.
constexpr size_t kLinearMergeLimit = 32;

std::optional<AXElementList> mergeInOrder(std::optional<AXElementList>& a,
                                          std::optional<AXElementList>& b,
                                          std::optional<AXElementList>& c,
                                          std::optional<AXElementList>& d,
                                          std::optional<AXElementList>* e = nullptr) {
  std::vector<std::optional<AXElementList>> sources;
  sources.reserve(5);
  sources.push_back(std::move(a));
  sources.push_back(std::move(b));
  sources.push_back(std::move(c));
  sources.push_back(std::move(d));
  if (e) sources.push_back(std::move(*e));
  return mergeAXChildSources(std::move(sources));
}

}  // namespace

bool isContainerRole(std::string_view role) {
  return role == "AXWindow" || role == "AXApplication" || role == "AXWebArea" ||
         role == "AXScrollArea";
}

bool isRowRole(std::string_view role) {
  return role == "AXList" || role == "AXOutline" || role == "AXTable";
}

bool isCulledRole(std::string_view role) {
  return role == "AXOutline" || role == "AXTable";
}

AXElementList mergeAXChildLists(AXElementList first, const AXElementList& second) {
  if (second.empty()) return first;
  if (first.size() + second.size() <= kLinearMergeLimit) {
    for (const AXElement& element : second) {
      bool seen = std::any_of(first.begin(), first.end(),
                              [&](const AXElement& e) { return e.hash() == element.hash(); });
      if (!seen) first.push_back(element);
    }
    return first;
  }
  std::unordered_set<uint64_t> seen;
  seen.reserve(first.size() + second.size());
  for (const AXElement& element : first)
    seen.insert(element.hash());
  for (const AXElement& element : second) {
    if (seen.insert(element.hash()).second) first.push_back(element);
  }
  return first;
}

std::optional<AXElementList> mergeAXChildSources(
    std::vector<std::optional<AXElementList>> sources) {
  std::optional<AXElementList> result;
  for (std::optional<AXElementList>& source : sources) {
    if (!source) continue;
    if (!result || result->empty()) {
      result = std::move(source);
    } else if (!source->empty()) {
      result = mergeAXChildLists(std::move(*result), *source);
    }
  }
  return result;
}

AXElementList chooseChildCandidates(std::string_view role, ChildSources s) {
  if (isContainerRole(role)) {
    if (std::optional<AXElementList> merged =
            mergeInOrder(s.visibleChildren, s.rows, s.children, s.contents, &s.navigationOrder)) {
      return std::move(*merged);
    }
  } else if (s.visibleChildren && !s.visibleChildren->empty()) {
    if (s.visibleChildren->size() >= 3) return std::move(*s.visibleChildren);
    return std::move(
        *mergeInOrder(s.visibleChildren, s.rows, s.children, s.contents, &s.navigationOrder));
  }
  if (isRowRole(role) && s.rows) return std::move(*s.rows);
  std::optional<AXElementList> merged =
      mergeInOrder(s.rows, s.children, s.contents, s.navigationOrder);
  return merged ? std::move(*merged) : AXElementList{};
}

}  // namespace tessary
