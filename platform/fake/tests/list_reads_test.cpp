// Ranged reads of list attributes, and batch reads that answer like single
// reads in one round trip.
#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "platform/fake/fake_desktop.h"
#include "platform/fake/tests/answer_text.h"

namespace tessary::fake {
namespace {

using testing::answerText;

constexpr const char* kList = R"({"applications": [{"pid": 7, "element": {"windows": [
  {"id": "list", "role": "AXList", "title": "Inbox", "value": 3, "description": {"error": -25212},
   "children": [{"id": "a"}, {"id": "b"}, {"id": "c"}, {"id": "d"}, {"id": "e"}],
   "attributes": {"AXHelp": null, "AXNumbers": [1, 2, 3], "AXBroken": {"error": -25200}, "AXSlow": {"timeout": true}}}]}}]})";

const std::vector<std::string> kIds = {"a", "b", "c", "d", "e"};

struct SliceCase {
  std::string label;
  std::string attribute;
  int64_t index;
  int64_t maxCount;
  std::string answer;
};

class ListSlice : public ::testing::TestWithParam<SliceCase> {};

TEST_P(ListSlice, CutsLikeThePlatform) {
  auto desktop = loadSceneOrThrow(kList);
  const SliceCase& c = GetParam();
  AXResult result = desktop->platform().accessibility.copyAttributeValues(
      desktop->element("list"), c.attribute, c.index, c.maxCount);
  EXPECT_EQ(answerText(*desktop, result, kIds), c.answer);
  EXPECT_EQ(desktop->accessibilityRoundTrips(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Slices, ListSlice,
    ::testing::Values(
        SliceCase{"all", "AXChildren", 0, 9999,
                  R"(list [{"ref":"a"},{"ref":"b"},{"ref":"c"},{"ref":"d"},{"ref":"e"}])"},
        SliceCase{"middle", "AXChildren", 1, 2, R"(list [{"ref":"b"},{"ref":"c"}])"},
        SliceCase{"tailShorterThanAsked", "AXChildren", 4, 10, R"(list [{"ref":"e"}])"},
        SliceCase{"atTheEnd", "AXChildren", 5, 1, "list []"},
        SliceCase{"pastTheEnd", "AXChildren", 7, 1, "list []"},
        SliceCase{"noneAsked", "AXChildren", 0, 0, "list []"},
        SliceCase{"negativeIndex", "AXChildren", -1, 2, "error -25201"},
        SliceCase{"negativeCount", "AXChildren", 0, -1, "error -25201"},
        SliceCase{"listOfNumbers", "AXNumbers", 1, 5, "list [2,3]"},
        SliceCase{"notAList", "AXTitle", 0, 10, "error -25201"},
        SliceCase{"missing", "AXRows", 0, 10, "error -25205"},
        SliceCase{"failing", "AXBroken", 0, 10, "error -25200"}),
    [](const ::testing::TestParamInfo<SliceCase>& info) { return info.param.label; });

TEST(BatchRead, AnswersLikeSingleReadsInOneRoundTrip) {
  const std::vector<std::string_view> attributes = {"AXRole",        "AXTitle", "AXValue",
                                                    "AXDescription", "AXHelp",  "AXNotThere",
                                                    "AXChildren",    "AXBroken"};
  auto singles = loadSceneOrThrow(kList);
  std::vector<std::string> expected;
  for (std::string_view attribute : attributes) {
    expected.push_back(answerText(
        *singles,
        singles->platform().accessibility.copyAttributeValue(singles->element("list"), attribute),
        kIds));
  }
  ASSERT_EQ(singles->accessibilityRoundTrips(), attributes.size());

  auto batched = loadSceneOrThrow(kList);
  std::vector<AXResult> results = batched->platform().accessibility.copyMultipleAttributeValues(
      batched->element("list"), attributes);
  ASSERT_EQ(results.size(), attributes.size());
  for (size_t i = 0; i < attributes.size(); ++i) {
    EXPECT_EQ(answerText(*batched, results[i], kIds), expected[i]) << attributes[i];
  }
  EXPECT_EQ(batched->accessibilityRoundTrips(), 1u);
  EXPECT_EQ(expected[6], R"(list [{"ref":"a"},{"ref":"b"},{"ref":"c"},{"ref":"d"},{"ref":"e"}])");
}

TEST(BatchRead, AHangingAttributeHoldsUpTheWholeBatchOnce) {
  auto desktop = loadSceneOrThrow(kList);
  const std::vector<std::string_view> attributes = {"AXTitle", "AXSlow", "AXValue"};
  std::vector<AXResult> results = desktop->platform().accessibility.copyMultipleAttributeValues(
      desktop->element("list"), attributes);
  ASSERT_EQ(results.size(), 3u);
  for (const AXResult& result : results)
    EXPECT_EQ(result.error, axerror::cannotComplete);
  EXPECT_DOUBLE_EQ(desktop->elapsedSeconds(), 6.0);
}

}  // namespace
}  // namespace tessary::fake
