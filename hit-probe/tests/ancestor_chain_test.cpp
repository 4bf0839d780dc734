// The chain a probe compares with its target: the hit element and its
// ancestors, cut at loops and at the depth limit.
#include "hit-probe/ancestor_chain.h"

#include <gtest/gtest.h>

#include "hit-probe/tests/probe_run.h"

namespace tessary::hitprobe {
namespace {

std::vector<std::string> sceneIds() {
  std::vector<std::string> ids{"app:42", "window", "self-loop", "loop-a", "loop-b"};
  for (int i = 1; i <= 15; ++i)
    ids.push_back("d" + std::to_string(i));
  return ids;
}

std::string idOf(const fake::FakeDesktop& desktop, const AXElement& element) {
  for (const std::string& id : sceneIds()) {
    if (desktop.element(id).native() == element.native()) return id;
  }
  return "?";
}

struct ChainCase {
  const char* name;
  const char* start;
  int maxDepth;
  std::vector<std::string> expected;
};

void PrintTo(const ChainCase& c, std::ostream* os) {
  *os << c.name;
}

class AncestorChain : public ::testing::TestWithParam<ChainCase> {};

TEST_P(AncestorChain, HoldsTheExpectedElements) {
  const ChainCase& c = GetParam();
  auto desktop = testing::loadScene("parent_chains.json");
  ASSERT_TRUE(desktop);
  std::vector<std::string> ids;
  for (const AXElement& element :
       ancestorChain(desktop->platform().accessibility, desktop->element(c.start), c.maxDepth)) {
    ids.push_back(idOf(*desktop, element));
  }
  EXPECT_EQ(ids, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Chains, AncestorChain,
    ::testing::Values(
        ChainCase{"selfLoopStopsAtOnce", "self-loop", 12, {"self-loop"}},
        ChainCase{"twoElementLoopStopsAtTheRepeat", "loop-a", 12, {"loop-a", "loop-b"}},
        ChainCase{"endsWhereTheApplicationHasNoParent", "window", 12, {"window", "app:42"}},
        ChainCase{"deepChainIsCutAtTwelve",
                  "d15",
                  12,
                  {"d15", "d14", "d13", "d12", "d11", "d10", "d9", "d8", "d7", "d6", "d5", "d4"}},
        ChainCase{"depthOneIsTheElementAlone", "d15", 1, {"d15"}},
        ChainCase{"depthZeroIsEmpty", "d15", 0, {}},
        ChainCase{"negativeDepthIsEmpty", "d15", -3, {}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tessary::hitprobe
