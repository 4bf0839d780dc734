// Element identity: refs to one element from many places (cycles included),
// parents derived from where an element is defined, and platform hashes.
#include <gtest/gtest.h>

#include "platform/fake/fake_desktop.h"
#include "platform/fake/tests/answer_text.h"

namespace tessary::fake {
namespace {

using testing::answerText;

// A window whose toolbar is listed both as a child and in the navigation
// order, a row that refers back to the window (a cycle), and a cell defined
// before the element that holds it as a row.
constexpr const char* kSharedElements = R"({"applications": [{"pid": 7, "element": {"id": "app",
  "windows": [{"id": "win", "role": "AXWindow",
    "children": [{"id": "toolbar", "role": "AXToolbar"}, {"ref": "table"}],
    "navigationOrder": [{"ref": "toolbar"}, {"id": "loose", "parent": null}]},
   {"id": "table", "role": "AXTable", "rows": [{"ref": "cell"}, {"id": "row", "children": [{"ref": "win"}]}],
    "parent": {"ref": "win"}},
   {"id": "panel", "children": [{"id": "cell", "role": "AXCell"}]}]}}]})";

const std::vector<std::string> kIds = {"app", "win",  "toolbar", "table",
                                       "row", "cell", "loose",   "panel"};

struct ListCase {
  std::string element;
  std::string attribute;
  std::string answer;
};

class SharedElements : public ::testing::TestWithParam<ListCase> {};

TEST_P(SharedElements, AnswerTheSameHandles) {
  auto desktop = loadSceneOrThrow(kSharedElements);
  AXResult result = desktop->platform().accessibility.copyAttributeValue(
      desktop->element(GetParam().element), GetParam().attribute);
  EXPECT_EQ(answerText(*desktop, result, kIds), GetParam().answer);
}

INSTANTIATE_TEST_SUITE_P(
    RefsAndParents, SharedElements,
    ::testing::Values(ListCase{"win", "AXChildren", R"(list [{"ref":"toolbar"},{"ref":"table"}])"},
                      ListCase{"win", "AXChildrenInNavigationOrder",
                               R"(list [{"ref":"toolbar"},{"ref":"loose"}])"},
                      ListCase{"table", "AXRows", R"(list [{"ref":"cell"},{"ref":"row"}])"},
                      ListCase{"row", "AXChildren", R"(list [{"ref":"win"}])"},
                      // Parents: where the element is defined, or what the scene says.
                      ListCase{"win", "AXParent", R"({"ref":"app"})"},
                      ListCase{"toolbar", "AXParent", R"({"ref":"win"})"},
                      ListCase{"table", "AXParent", R"({"ref":"win"})"},
                      ListCase{"row", "AXParent", R"({"ref":"table"})"},
                      ListCase{"cell", "AXParent", R"({"ref":"panel"})"},
                      ListCase{"loose", "AXParent", "empty"},
                      ListCase{"app", "AXParent", "error -25205"}),
    [](const ::testing::TestParamInfo<ListCase>& info) {
      return info.param.element + "_" + info.param.attribute;
    });

TEST(ElementIdentity, OneElementHasOneHashWhereverItIsReached) {
  auto desktop = loadSceneOrThrow(kSharedElements);
  Accessibility& accessibility = desktop->platform().accessibility;
  AXResult children = accessibility.copyAttributeValue(desktop->element("win"), "AXChildren");
  AXResult navigation =
      accessibility.copyAttributeValue(desktop->element("win"), "AXChildrenInNavigationOrder");
  AXResult parent = accessibility.copyAttributeValue(desktop->element("row"), "AXChildren");
  const AXElement toolbar = desktop->element("toolbar");
  EXPECT_EQ(children.get()->elementList()->at(0).hash(), toolbar.hash());
  EXPECT_EQ(navigation.get()->elementList()->at(0).hash(), toolbar.hash());
  EXPECT_EQ(parent.get()->elementList()->at(0).hash(), desktop->element("win").hash());

  // Distinct elements have distinct hashes unless the scene says otherwise.
  std::set<uint64_t> hashes;
  for (const std::string& id : kIds)
    hashes.insert(desktop->element(id).hash());
  EXPECT_EQ(hashes.size(), kIds.size());
}

TEST(ElementIdentity, SceneHashesHoldEvenForEarlierRefs) {
  // "b" is referred to before it is defined with its hash; "c" shares it.
  auto desktop = loadSceneOrThrow(R"({"applications": [{"pid": 7, "element": {"id": "a",
      "children": [{"ref": "b"}, {"id": "c", "hash": 77}], "windows": [{"id": "b", "hash": 77}]}}]})");
  AXResult children =
      desktop->platform().accessibility.copyAttributeValue(desktop->element("a"), "AXChildren");
  std::vector<AXElement> elements = *children.get()->elementList();
  ASSERT_EQ(elements.size(), 2u);
  EXPECT_EQ(elements[0].hash(), 77u);
  EXPECT_EQ(elements[1].hash(), 77u);
  EXPECT_NE(elements[0].native(), elements[1].native());  // same hash, different elements
  EXPECT_EQ(desktop->element("b").hash(), 77u);
}

TEST(ElementIdentity, UnknownIdGivesANullHandle) {
  auto desktop = loadSceneOrThrow(kSharedElements);
  EXPECT_FALSE(desktop->element("nothing"));
  EXPECT_EQ(desktop->attributeValue("nothing", "AXRole"), std::nullopt);
  EXPECT_EQ(*desktop->attributeValue("toolbar", "AXRole")->text(), "AXToolbar");
  EXPECT_TRUE(desktop->element("systemWide"));
}

TEST(ElementIdentity, HandlesOfAnotherDesktopAreNotElementsHere) {
  auto first = loadSceneOrThrow(kSharedElements);
  auto second = loadSceneOrThrow(kSharedElements);
  EXPECT_EQ(
      second->platform().accessibility.copyAttributeValue(first->element("win"), "AXRole").error,
      axerror::illegalArgument);
}

}  // namespace
}  // namespace tessary::fake
