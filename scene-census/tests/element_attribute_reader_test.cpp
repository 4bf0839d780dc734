// Attribute reads: single and batched reads give the same answers, list reads
// are capped and type-checked, and an application that stops answering is
// left alone.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "platform/attribute_reader.h"
#include "scene-census/tests/scripted_accessibility.h"

namespace tessary {
namespace {

using testing::sameAnswer;
using testing::ScriptedAccessibility;

std::vector<std::string> itemIds(size_t count, const std::string& prefix) {
  std::vector<std::string> ids;
  for (size_t i = 0; i < count; ++i)
    ids.push_back(prefix + std::to_string(i));
  return ids;
}

struct ReadCase {
  const char* what;
  std::string attribute;
  // What the element answers; nothing for an attribute it does not have.
  std::optional<AXResult> stored;
  // What the reader must return, given the stored answer.
  enum { absent, asStored, firstItems } expect;
  size_t expectedItems = 0;
};

class AttributeReads : public ::testing::Test {
 protected:
  void SetUp() override {
    ax.add("target");
    ax.add("a");
    ax.add("b");
    ax.add("c");
    for (const std::string& id : itemIds(10'000, "row"))
      ax.add(id);
  }
  ScriptedAccessibility ax;
};

TEST_F(AttributeReads, BatchAnswersEqualSingleReads) {
  const std::vector<ReadCase> cases = {
      {"text title", "AXTitle", AXResult::of("Save"), ReadCase::asStored},
      {"empty text title", "AXDescription", AXResult::of(""), ReadCase::asStored},
      {"attributed title stays as delivered", "AXHelp",
       AXResult::of(AXOtherValue{"NSAttributedString"}), ReadCase::asStored},
      {"number", "AXValue", AXResult::of(0.5), ReadCase::asStored},
      {"point", "AXPosition", AXResult::of(AXPoint{1, 2}), ReadCase::asStored},
      {"unsupported attribute", "AXRoleDescription",
       AXResult::failed(axerror::attributeUnsupported), ReadCase::absent},
      {"success without a value", "AXIdentifier", AXResult{axerror::success, std::nullopt},
       ReadCase::absent},
      {"missing attribute", "AXSubrole", std::nullopt, ReadCase::absent},
      {"timeout", "AXEnabled", AXResult::failed(axerror::cannotComplete), ReadCase::absent},
      {"children list", "AXChildren", AXResult::of(ax.elements({"a", "b", "c"})),
       ReadCase::asStored},
      {"visible children that are not a list", "AXVisibleChildren", AXResult::of("a, b"),
       ReadCase::absent},
      {"rows with a text among the elements", "AXRows",
       AXResult::of(AXValueList{AXValue(ax.element("a")), AXValue("b")}), ReadCase::absent},
      {"contents list read whole", "AXContents", AXResult::of(ax.elements(itemIds(10'000, "row"))),
       ReadCase::asStored},
      {"navigation order of text is returned as is", "AXChildrenInNavigationOrder",
       AXResult::of("x"), ReadCase::asStored},
  };
  // The list attributes repeated on a second element: an empty list, and a
  // list longer than the read cap.
  ax.node("target");
  ScriptedAccessibility::Node& big = ax.add("big");
  big.set("AXChildren", ax.elements(itemIds(10'000, "row")));
  big.set("AXRows", AXValueList{});
  big.fail("AXVisibleChildren", axerror::cannotComplete);

  for (const ReadCase& c : cases) {
    if (c.stored) ax.node("target").attributes[c.attribute] = *c.stored;
  }
  std::vector<std::string_view> names;
  for (const ReadCase& c : cases)
    names.push_back(c.attribute);

  AttributeReader reader(ax);
  const AXElement target = ax.element("target");
  ax.clearCalls();
  std::vector<std::optional<AXValue>> batch = reader.elementAttributes(target, names);
  // One batch, and ranged reads of the two list slots it answered with
  // something other than a list of elements.
  EXPECT_EQ(ax.roundTrips(), 3u);
  ASSERT_EQ(batch.size(), cases.size());
  for (size_t i = 0; i < cases.size(); ++i) {
    const ReadCase& c = cases[i];
    std::optional<AXValue> single = reader.elementAttribute(target, c.attribute);
    std::optional<AXValue> expected;
    if (c.expect == ReadCase::asStored) expected = c.stored->value;
    EXPECT_TRUE(sameAnswer(single, expected)) << c.what << " (single read)";
    EXPECT_TRUE(sameAnswer(batch[i], expected)) << c.what << " (batch)";
  }

  constexpr std::array<std::string_view, 3> kLists = {"AXChildren", "AXRows", "AXVisibleChildren"};
  const AXElement bigElement = ax.element("big");
  std::vector<std::optional<AXValue>> bigBatch = reader.elementAttributes(bigElement, kLists);
  ASSERT_EQ(bigBatch.size(), 3u);
  for (size_t i = 0; i < kLists.size(); ++i) {
    EXPECT_TRUE(sameAnswer(bigBatch[i], reader.elementAttribute(bigElement, kLists[i])))
        << kLists[i];
  }
  ASSERT_TRUE(bigBatch[0] && bigBatch[0]->list());
  EXPECT_EQ(bigBatch[0]->list()->size(), static_cast<size_t>(kMaxListReadCount));
  EXPECT_TRUE(sameAnswer(bigBatch[0]->list()->back(), AXValue(ax.element("row9998"))));
  ASSERT_TRUE(bigBatch[1] && bigBatch[1]->list());
  EXPECT_TRUE(bigBatch[1]->list()->empty());
  EXPECT_FALSE(bigBatch[2]);
}

TEST_F(AttributeReads, ListAttributesAreReadAsSlicesFromTheStart) {
  ax.node("target").set("AXChildren", ax.elements({"a", "b"}));
  AttributeReader reader(ax);
  ax.clearCalls();
  reader.elementAttribute(ax.element("target"), "AXChildren");
  reader.elementAttribute(ax.element("target"), "AXContents");
  ASSERT_EQ(ax.calls().size(), 2u);
  EXPECT_EQ(ax.calls()[0].operation, "copyAttributeValues");
  EXPECT_EQ(ax.calls()[1].operation, "copyAttributeValue");
}

TEST(ElementValue, UnwrapsOnlyTheRequestedKind) {
  struct Case {
    const char* what;
    std::optional<AXValue> value;
    AXValueKind kind;
    bool present;
  };
  const Case cases[] = {
      {"point as point", AXValue(AXPoint{1, 2}), AXValueKind::point, true},
      {"point as size", AXValue(AXPoint{1, 2}), AXValueKind::size, false},
      {"size as size", AXValue(AXSize{3, 4}), AXValueKind::size, true},
      {"rect as rect", AXValue(AXRect{{1, 2}, {3, 4}}), AXValueKind::rect, true},
      {"rect as point", AXValue(AXRect{{1, 2}, {3, 4}}), AXValueKind::point, false},
      {"range as point", AXValue(AXRange{1, 2}), AXValueKind::point, false},
      {"text as size", AXValue("10;20"), AXValueKind::size, false},
      {"absent", std::nullopt, AXValueKind::point, false},
      {"unknown kind", AXValue(AXPoint{1, 2}), static_cast<AXValueKind>(4), false},
  };
  for (const Case& c : cases) {
    std::optional<AXValue> unwrapped = elementValue(c.value, c.kind);
    EXPECT_EQ(unwrapped.has_value(), c.present) << c.what;
    if (unwrapped) {
      EXPECT_TRUE(testing::sameAXValue(*unwrapped, *c.value)) << c.what;
    }
  }
}

class FrozenApplication : public ::testing::Test {
 protected:
  void SetUp() override { ax.add("window").role("AXWindow").title("Main"); }
  ScriptedAccessibility ax;
};

TEST_F(FrozenApplication, ThreeTimeoutsInARowStopAllFurtherCalls) {
  AttributeReader reader(ax);
  AXElement window = ax.element("window");
  ax.freeze();
  constexpr std::array<std::string_view, 2> kPair = {"AXRole", "AXTitle"};
  EXPECT_FALSE(reader.elementAttribute(window, "AXRole"));
  EXPECT_EQ(reader.setAttributeValue(window, "AXTitle", AXValue("x")), axerror::cannotComplete);
  EXPECT_FALSE(reader.applicationFrozen());
  std::vector<std::optional<AXValue>> batch = reader.elementAttributes(window, kPair);
  EXPECT_TRUE(reader.applicationFrozen());
  EXPECT_FALSE(batch[0] || batch[1]);
  EXPECT_EQ(ax.roundTrips(), 3u);

  EXPECT_FALSE(reader.elementAttribute(window, "AXTitle"));
  EXPECT_FALSE(reader.elementAttribute(window, "AXChildren"));
  batch = reader.elementAttributes(window, kPair);
  EXPECT_EQ(batch.size(), 2u);
  EXPECT_FALSE(batch[0] || batch[1]);
  EXPECT_NE(reader.setAttributeValue(window, "AXTitle", AXValue("x")), axerror::success);
  EXPECT_EQ(ax.roundTrips(), 3u);
}

TEST_F(FrozenApplication, ATimedOutBatchIsAskedAgainOneByOne) {
  AttributeReader reader(ax);
  AXElement window = ax.element("window");
  constexpr std::array<std::string_view, 3> kThree = {"AXRole", "AXTitle", "AXValue"};
  // The first message times out as a whole; the single reads that follow
  // are answered.
  ax.freezeAfterRoundTrips(0);
  ax.thawAfterRoundTrips(1);
  std::vector<std::optional<AXValue>> answers = reader.elementAttributes(window, kThree);
  EXPECT_EQ(ax.roundTrips(), 4u);
  ASSERT_EQ(answers.size(), 3u);
  EXPECT_TRUE(answers[0] && answers[0]->text() && *answers[0]->text() == "AXWindow");
  EXPECT_TRUE(answers[1] && answers[1]->text() && *answers[1]->text() == "Main");
  EXPECT_FALSE(answers[2]);
  EXPECT_FALSE(reader.applicationFrozen());
}

TEST_F(FrozenApplication, AnAnswerBetweenTimeoutsStartsTheCountAgain) {
  AttributeReader reader(ax);
  AXElement window = ax.element("window");
  ax.node("window").fail("AXSize", axerror::cannotComplete);
  ax.node("window").fail("AXPosition", axerror::cannotComplete);
  constexpr std::array<std::string_view, 2> kOneAnswers = {"AXSize", "AXTitle"};
  constexpr std::array<std::string_view, 1> kUnsupported = {"AXHelp"};

  for (int round = 0; round < 3; ++round) {
    reader.elementAttribute(window, "AXSize");
    reader.elementAttribute(window, "AXPosition");
    // A batch in which one attribute answered, or a plain "unsupported",
    // shows the application is alive.
    if (round % 2 == 0) {
      EXPECT_TRUE(reader.elementAttributes(window, kOneAnswers)[1]);
    } else {
      EXPECT_FALSE(reader.elementAttributes(window, kUnsupported)[0]);
    }
  }
  EXPECT_FALSE(reader.applicationFrozen());
  EXPECT_TRUE(reader.elementAttribute(window, "AXTitle"));
}

}  // namespace
}  // namespace tessary
