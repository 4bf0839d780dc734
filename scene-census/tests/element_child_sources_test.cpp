// Which child sources become an element's candidate children, by role.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "scene-census/element/child_discovery.h"

namespace tessary {
namespace {

// Elements named by their hash; the same name is the same element.
AXElementList list(std::initializer_list<int> hashes) {
  static std::vector<std::shared_ptr<int>> natives(100);
  AXElementList elements;
  for (int hash : hashes) {
    if (!natives[hash]) natives[hash] = std::make_shared<int>(hash);
    elements.emplace_back(natives[hash], static_cast<uint64_t>(hash));
  }
  return elements;
}

std::vector<uint64_t> hashes(const std::optional<AXElementList>& elements) {
  std::vector<uint64_t> result;
  if (elements) {
    for (const AXElement& element : *elements)
      result.push_back(element.hash());
  }
  return result;
}

TEST(MergeAXChildLists, KeepsTheFirstListAndAppendsNewElementsOnce) {
  EXPECT_EQ(hashes(mergeAXChildLists(list({1, 2, 2}), list({3, 2, 4, 3, 1}))),
            (std::vector<uint64_t>{1, 2, 2, 3, 4}));
  EXPECT_EQ(hashes(mergeAXChildLists(list({}), list({5, 5}))), (std::vector<uint64_t>{5}));
}

TEST(MergeAXChildLists, LongListsMergeLikeShortOnes) {
  AXElementList first, second;
  std::vector<uint64_t> expected;
  for (int i = 0; i < 60; ++i) {
    first.push_back(list({i % 40})[0]);
    expected.push_back(static_cast<uint64_t>(i % 40));
  }
  for (int i = 30; i < 50; ++i)
    second.push_back(list({i})[0]);
  for (int i = 40; i < 50; ++i)
    expected.push_back(static_cast<uint64_t>(i));
  EXPECT_EQ(hashes(mergeAXChildLists(first, second)), expected);
}

TEST(MergeAXChildSources, PresentSourcesInOrder) {
  EXPECT_FALSE(mergeAXChildSources({std::nullopt, std::nullopt}));
  std::optional<AXElementList> onlyEmpty = mergeAXChildSources({std::nullopt, list({})});
  ASSERT_TRUE(onlyEmpty);
  EXPECT_TRUE(onlyEmpty->empty());
  EXPECT_EQ(
      hashes(mergeAXChildSources({list({}), std::nullopt, list({2, 2}), list({}), list({3, 2})})),
      (std::vector<uint64_t>{2, 2, 3}));
}

struct ChoiceCase {
  const char* what;
  std::string role;
  ChildSources sources;
  std::vector<uint64_t> expected;
};

TEST(ChooseChildCandidates, ByRoleAndSources) {
  const std::vector<ChoiceCase> cases = {
      {"three or more visible children stand alone",
       "AXGroup",
       {list({1, 2, 3, 4, 5}),
        list({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20}), std::nullopt,
        std::nullopt, std::nullopt},
       {1, 2, 3, 4, 5}},
      {"two visible children are merged with the others",
       "AXGroup",
       {list({1, 2}), list({3, 2, 4, 5}), std::nullopt, std::nullopt, std::nullopt},
       {1, 2, 3, 4, 5}},
      {"one visible child: rows come before children",
       "AXGroup",
       {list({1}), list({3}), list({2}), list({4}), list({5, 1})},
       {1, 2, 3, 4, 5}},
      {"a window takes the union, visible children first",
       "AXWindow",
       {list({9, 8, 7}), list({1, 9}), list({2}), list({3, 2}), list({4})},
       {9, 8, 7, 2, 1, 3, 4}},
      {"a scroll area with only empty sources has no children",
       "AXScrollArea",
       {list({}), std::nullopt, list({}), std::nullopt, std::nullopt},
       {}},
      {"a table with an empty row list has no children",
       "AXTable",
       {std::nullopt, list({1, 2}), list({}), std::nullopt, std::nullopt},
       {}},
      {"a table without rows falls back to the merge",
       "AXTable",
       {std::nullopt, list({1, 2}), std::nullopt, list({3}), list({2, 4})},
       {1, 2, 3, 4}},
      {"an outline with empty visible children takes its rows",
       "AXOutline",
       {list({}), list({1, 2, 3}), list({4, 5}), std::nullopt, std::nullopt},
       {4, 5}},
      {"a plain element: rows, children, contents, navigation order",
       "AXGroup",
       {std::nullopt, list({2, 3}), list({1}), list({4}), list({3, 5})},
       {1, 2, 3, 4, 5}},
      {"nothing at all", "AXGroup", {}, {}},
  };
  for (const ChoiceCase& c : cases) {
    EXPECT_EQ(hashes(chooseChildCandidates(c.role, c.sources)), c.expected) << c.what;
  }
}

}  // namespace
}  // namespace tessary
