// Construction of captured element records: what each field takes from the
// answers, the window offsets, the depth budget, child discovery, row
// culling, the drop rule, the cycle guard and the cost in round trips.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/stable_identifier.h"
#include "scene-census/element/ui_element.h"
#include "scene-census/tests/scripted_accessibility.h"

namespace tessary {
namespace {

using testing::ScriptedAccessibility;

const Box kWholeWindow{0, 0, 2000, 2000};

class Construction : public ::testing::Test {
 protected:
  std::unique_ptr<UIElement> build(std::string_view id, std::optional<int> maxDepth = 60,
                                   std::optional<Box> parentBox = kWholeWindow,
                                   std::optional<std::vector<Box>> rects = std::nullopt,
                                   double offsetX = 0, double offsetY = 0) {
    return std::make_unique<UIElement>(reader, ax.element(id), offsetX, offsetY, maxDepth,
                                       parentBox, std::move(rects));
  }

  std::vector<std::string> childIds(const UIElement& element) const {
    std::vector<std::string> ids;
    for (const auto& child : element.children())
      ids.push_back(ax.idOf(child->axElement()));
    return ids;
  }

  // Records in the subtree, the element itself included.
  static size_t countRecords(const UIElement& element) {
    size_t count = 1;
    for (const auto& child : element.children())
      count += countRecords(*child);
    return count;
  }

  static size_t depthOf(const UIElement& element) {
    size_t deepest = 0;
    for (const auto& child : element.children())
      deepest = std::max(deepest, depthOf(*child));
    return deepest + 1;
  }

  ScriptedAccessibility ax;
  AttributeReader reader{ax};
};

TEST_F(Construction, AnElementThatAnswersNothingKeepsTheValuesBeforeReading) {
  ax.add("silent");
  std::unique_ptr<UIElement> element = build("silent", 60, std::nullopt);
  EXPECT_EQ(element->role(), "No role");
  EXPECT_FALSE(element->name() || element->description() || element->roleDescription() ||
               element->nativeIdentifier() || element->value());
  EXPECT_FALSE(element->enabled() || element->focused() || element->visible());
  EXPECT_FALSE(element->position() || element->size() || element->bbox() || element->visibleBBox());
  EXPECT_TRUE(element->children().empty());
  EXPECT_EQ(element->identifier(),
            stableElementIdentifier("No role", std::nullopt, std::nullopt, std::nullopt,
                                    std::nullopt, std::nullopt, std::nullopt, std::nullopt));
  // Nothing handed down and no box of its own: the child sources are not read.
  EXPECT_EQ(ax.roundTrips(), 1u);
}

TEST_F(Construction, FieldsTakeOnlyAnswersOfTheirKind) {
  struct Case {
    const char* what;
    std::string attribute;
    AXValue answer;
    std::function<bool(const UIElement&)> holds;
  };
  const std::vector<Case> cases = {
      {"attributed title", "AXTitle", AXOtherValue{"NSAttributedString"},
       [](const UIElement& e) { return !e.name(); }},
      {"numeric title", "AXTitle", AXValue(42), [](const UIElement& e) { return !e.name(); }},
      {"empty title", "AXTitle", AXValue(""),
       [](const UIElement& e) { return e.name() == std::string(); }},
      {"role that is not text", "AXRole", AXValue(1),
       [](const UIElement& e) { return e.role() == "No role"; }},
      {"enabled as number 1", "AXEnabled", AXValue(1),
       [](const UIElement& e) { return e.enabled(); }},
      {"enabled as number 2", "AXEnabled", AXValue(2),
       [](const UIElement& e) { return !e.enabled(); }},
      {"focused as real 1", "AXFocused", AXValue(1.0),
       [](const UIElement& e) { return e.focused(); }},
      {"focused as real 0.5", "AXFocused", AXValue(0.5),
       [](const UIElement& e) { return !e.focused(); }},
      {"focused as negative real 1", "AXFocused", AXValue(-1.0),
       [](const UIElement& e) { return !e.focused(); }},
      {"enabled as boolean", "AXEnabled", AXValue(true),
       [](const UIElement& e) { return e.enabled(); }},
      {"focused as text", "AXFocused", AXValue("true"),
       [](const UIElement& e) { return !e.focused(); }},
      {"identifier with spaces and newline", "AXIdentifier", AXValue("  login-button \n"),
       [](const UIElement& e) { return e.nativeIdentifier() == std::string("login-button"); }},
      {"identifier of spaces", "AXIdentifier", AXValue("   "),
       [](const UIElement& e) { return !e.nativeIdentifier(); }},
      {"position given as a size", "AXPosition", AXValue(AXSize{1, 2}),
       [](const UIElement& e) { return !e.position() && !e.bbox(); }},
      {"value kept whatever its kind", "AXValue", AXValue(AXRange{3, 4}),
       [](const UIElement& e) {
         return e.value() && e.value()->range() == AXRange{3, 4};
       }},
      {"description as text", "AXDescription", AXValue("Total"),
       [](const UIElement& e) { return e.description() == std::string("Total"); }},
  };
  for (const Case& c : cases) {
    std::string id = std::string("element with ") + c.what;
    ax.add(id).set(c.attribute, c.answer);
    EXPECT_TRUE(c.holds(*build(id))) << c.what;
  }
}

TEST_F(Construction, PositionWithoutSizeGivesNoBoxAndNoGrid) {
  ax.add("half").role("AXButton").set("AXPosition", AXPoint{130, 70});
  std::unique_ptr<UIElement> element = build("half");
  EXPECT_TRUE(element->position());
  EXPECT_FALSE(element->size() || element->bbox() || element->visibleBBox());
  EXPECT_EQ(element->identifier(),
            stableElementIdentifier("AXButton", std::nullopt, std::nullopt, AXPoint{130, 70},
                                    std::nullopt, std::nullopt, std::nullopt, std::nullopt));
}

TEST_F(Construction, TheIdentifierUsesTheBoxAndTheTexts) {
  ax.add("save")
      .role("AXButton")
      .title("  Save   File ")
      .set("AXRoleDescription", "button")
      .set("AXValue", "changes nothing")
      .frame(130.7, 70.2, 70, 30);
  std::unique_ptr<UIElement> element = build("save");
  EXPECT_EQ(element->bbox(), (Box{130, 70, 200, 100}));
  EXPECT_EQ(element->identifier(), "e1751zg9kujahi");
}

TEST_F(Construction, ChildrenOfAWindowAreRelativeToIt) {
  ax.add("window")
      .role("AXWindow")
      .frame(200, 100, 400, 300)
      .set("AXChildren", ax.elements({"button"}));
  ax.add("button").role("AXButton").frame(230, 120, 40, 20);
  std::unique_ptr<UIElement> window = build("window", 60, Box{0, 0, 400, 300});
  EXPECT_EQ(window->windowOffsetX(), 0);
  EXPECT_EQ(window->windowOffsetY(), 0);
  ASSERT_EQ(window->children().size(), 1u);
  const UIElement& button = *window->children()[0];
  EXPECT_EQ(button.windowOffsetX(), 200);
  EXPECT_EQ(button.windowOffsetY(), 100);
  EXPECT_EQ(button.visibleBBox(), (Box{30, 20, 70, 40}));
  EXPECT_EQ(button.bbox(), (Box{230, 120, 270, 140}));
}

TEST_F(Construction, DepthBudget) {
  // A chain: each level lists the next.
  for (int i = 0; i < 5; ++i) {
    ax.add("level" + std::to_string(i))
        .role("AXGroup")
        .frame(0, 0, 100, 100)
        .set("AXChildren", ax.elements({"level" + std::to_string(i + 1)}));
  }
  ax.add("level5").role("AXGroup").frame(0, 0, 100, 100);

  ax.clearCalls();
  std::unique_ptr<UIElement> none = build("level0", 0);
  EXPECT_TRUE(none->children().empty());
  EXPECT_EQ(ax.roundTrips(), 1u) << "a budget of 0 reads no child attribute";

  std::unique_ptr<UIElement> one = build("level0", 1);
  EXPECT_EQ(depthOf(*one), 2u);
  EXPECT_TRUE(one->children()[0]->children().empty());

  EXPECT_EQ(depthOf(*build("level0", std::nullopt)), 6u);
}

TEST_F(Construction, TwoBatchesPerElementAndRangedReadsOfTheListsItLacks) {
  ax.add("window")
      .role("AXWindow")
      .frame(0, 0, 400, 300)
      .set("AXChildren", ax.elements({"toolbar", "offscreen"}));
  ax.add("toolbar")
      .role("AXGroup")
      .frame(0, 0, 400, 40)
      .set("AXVisibleChildren", ax.elements({"back", "forward", "reload"}));
  for (const char* id : {"back", "forward", "reload"})
    ax.add(id).role("AXButton").frame(10, 10, 20, 20);
  // Below the visible part: it has no visible box of its own, so it hands on
  // the window's box and its children are still read.
  ax.add("offscreen")
      .role("AXGroup")
      .frame(0, 500, 400, 40)
      .set("AXChildren", ax.elements({"hidden"}));
  ax.add("hidden").role("AXButton").frame(0, 500, 20, 20);

  ax.clearCalls();
  std::unique_ptr<UIElement> window =
      build("window", 60, Box{0, 0, 400, 300}, std::vector<Box>{{0, 0, 400, 300}});
  EXPECT_EQ(countRecords(*window), 7u);
  // A list slot the batch answered with an error is asked again ranged: the
  // window, the toolbar and the off-screen group lack two of the three
  // lists, the four buttons all three.
  std::map<std::string, size_t> operations;
  for (const auto& call : ax.calls())
    ++operations[call.operation];
  EXPECT_EQ(operations, (std::map<std::string, size_t>{{"copyMultipleAttributeValues", 7 * 2},
                                                       {"copyAttributeValues", 3 * 2 + 4 * 3}}));
  EXPECT_EQ(ax.roundTrips(), 7u * 2 + 18);
}

TEST_F(Construction, ChildrenOfAnElementWithoutABoxAreReadThroughTheHandedBox) {
  ax.add("container").role("AXGroup").set("AXChildren", ax.elements({"ok"}));
  ax.add("ok").role("AXButton").frame(10, 10, 50, 20);

  std::unique_ptr<UIElement> handed = build("container", 60, Box{0, 0, 300, 300});
  EXPECT_EQ(childIds(*handed), std::vector<std::string>{"ok"});

  ax.clearCalls();
  for (std::optional<Box> box : {std::optional<Box>(), std::optional<Box>(Box{0, 0, 0, 300})}) {
    std::unique_ptr<UIElement> notHanded = build("container", 60, box);
    EXPECT_TRUE(notHanded->children().empty());
  }
  EXPECT_EQ(ax.callsOn("ok"), 0u);
  EXPECT_EQ(ax.roundTrips(), 2u) << "only the container's own attributes";
}

TEST_F(Construction, SecondVisibilityRuleTakesTheHandedBox) {
  ax.add("wrapper").role("AXGroup").set("AXChildren", ax.elements({"ok", "tiny"}));
  ax.add("ok").role("AXButton").frame(10, 10, 50, 20);
  ax.add("tiny").role("AXButton").frame(100, 10, 1, 20);
  std::unique_ptr<UIElement> wrapper = build("wrapper", 60, Box{5, 5, 300, 300});
  EXPECT_TRUE(wrapper->visible());
  EXPECT_EQ(wrapper->visibleBBox(), (Box{5, 5, 300, 300}));
  ASSERT_EQ(wrapper->children().size(), 2u);
  EXPECT_FALSE(wrapper->children()[1]->visible()) << "one point wide";

  ax.node("ok").frame(1000, 10, 50, 20);
  std::unique_ptr<UIElement> nothingVisible = build("wrapper", 60, Box{5, 5, 300, 300});
  EXPECT_FALSE(nothingVisible->visible());
  EXPECT_FALSE(nothingVisible->visibleBBox());
}

TEST_F(Construction, DropsChildrenWithNeitherPositionNorChildren) {
  ax.add("list")
      .role("AXGroup")
      .frame(0, 0, 300, 300)
      .set("AXChildren", ax.elements({"placed", "empty", "wrapper"}));
  ax.add("placed").role("AXButton").frame(0, 0, 10, 10);
  ax.add("empty").role("AXGroup");
  ax.add("wrapper").role("AXGroup").set("AXChildren", ax.elements({"inner"}));
  ax.add("inner").role("AXStaticText").frame(0, 20, 10, 10);
  std::unique_ptr<UIElement> list = build("list");
  EXPECT_EQ(childIds(*list), (std::vector<std::string>{"placed", "wrapper"}));
}

TEST_F(Construction, AChildListLeadingBackUpIsNotFollowed) {
  ax.add("window").role("AXWindow").frame(0, 0, 400, 300).set("AXChildren", ax.elements({"group"}));
  // The group lists itself, and its button lists the window.
  ax.add("group")
      .role("AXGroup")
      .frame(0, 0, 400, 300)
      .set("AXChildren", ax.elements({"group", "button"}));
  ax.add("button")
      .role("AXButton")
      .frame(10, 10, 40, 20)
      .set("AXChildren", ax.elements({"window", "group", "label"}));
  ax.add("label").role("AXStaticText").frame(12, 12, 30, 10);

  // A small budget keeps a broken guard from running for minutes.
  std::unique_ptr<UIElement> window = build("window", 8, Box{0, 0, 400, 300});
  ASSERT_EQ(childIds(*window), std::vector<std::string>{"group"});
  const UIElement& group = *window->children()[0];
  ASSERT_EQ(childIds(group), std::vector<std::string>{"button"});
  EXPECT_EQ(childIds(*group.children()[0]), std::vector<std::string>{"label"});
  EXPECT_EQ(countRecords(*window), 4u);
}

TEST_F(Construction, TheCycleGuardKnowsElementsByTheirHash) {
  // Every answer carries a new reference (as on macOS); an element whose hash
  // equals an ancestor's counts as that ancestor.
  ax.add("outer")
      .role("AXGroup")
      .frame(0, 0, 400, 300)
      .set("AXChildren", ax.elements({"inner", "twin"}));
  ax.add("inner")
      .role("AXGroup")
      .frame(0, 0, 200, 300)
      .set("AXChildren", ax.elements({"outer", "look-alike"}));
  ax.add("look-alike").role("AXButton").frame(10, 10, 20, 20).hash = ax.node("outer").hash;
  ax.add("twin").role("AXButton").frame(10, 10, 20, 20);
  std::unique_ptr<UIElement> outer = build("outer", 8);
  EXPECT_EQ(childIds(*outer), (std::vector<std::string>{"inner", "twin"}));
  EXPECT_TRUE(outer->children()[0]->children().empty());
}

TEST_F(Construction, AnElementListedTwiceInDifferentBranchesIsBuiltInBoth) {
  ax.add("split")
      .role("AXGroup")
      .frame(0, 0, 400, 300)
      .set("AXChildren", ax.elements({"left", "right"}));
  ax.add("left").role("AXGroup").frame(0, 0, 200, 300).set("AXChildren", ax.elements({"shared"}));
  ax.add("right")
      .role("AXGroup")
      .frame(200, 0, 200, 300)
      .set("AXChildren", ax.elements({"shared"}));
  ax.add("shared").role("AXButton").frame(190, 10, 20, 20);
  std::unique_ptr<UIElement> split = build("split");
  EXPECT_EQ(countRecords(*split), 5u);
}

TEST_F(Construction, ListsRepeatingTheirElementsAtEveryLevelDoNotMultiplyTheTree) {
  // Each of 40 levels lists the next level's element twice, and the last one
  // lists a leaf a thousand times: built copy for copy this is 2^40 records.
  constexpr int kLevels = 40;
  for (int level = 0; level < kLevels; ++level) {
    const std::string next = "level" + std::to_string(level + 1);
    ax.add("level" + std::to_string(level))
        .role("AXGroup")
        .frame(0, 0, 400, 300)
        .set("AXChildren", ax.elements({next, next}));
  }
  ax.add("level" + std::to_string(kLevels))
      .role("AXGroup")
      .frame(0, 0, 400, 300)
      .set("AXChildren", ax.elements(std::vector<std::string>(1000, "leaf")));
  ax.add("leaf").role("AXButton").frame(10, 10, 20, 20);

  std::unique_ptr<UIElement> top = build("level0");
  // Still the whole depth, the leaf included, with a few copies per element.
  EXPECT_EQ(depthOf(*top), size_t{kLevels + 2});
  EXPECT_LE(countRecords(*top), size_t{16 * (kLevels + 2)});
  EXPECT_EQ(childIds(*top), (std::vector<std::string>{"level1", "level1"}));
}

// An outline of `rows` rows, 20 points high each, in a window of which only
// y 100 to 300 is visible.
class RowCulling : public Construction {
 protected:
  std::unique_ptr<UIElement> captureOutline(int rows, const std::string& role = "AXOutline") {
    std::vector<std::string> ids;
    for (int i = 0; i < rows; ++i) {
      ids.push_back("row" + std::to_string(i));
      ax.add(ids.back()).role("AXRow").frame(0, 20.0 * i, 400, 20);
    }
    ax.add("window")
        .role("AXWindow")
        .frame(0, 0, 400, 2000)
        .set("AXChildren", ax.elements({"outline"}));
    ax.add("outline").role(role).frame(0, 0, 400, 2000).set("AXRows", ax.elements(ids));
    ax.clearCalls();
    return build("window", 60, Box{0, 100, 400, 300}, std::vector<Box>{{0, 100, 400, 300}});
  }

  size_t geometryProbes() const {
    size_t probes = 0;
    for (const auto& call : ax.calls())
      probes += call.attributes == "AXPosition,AXSize";
    return probes;
  }
};

TEST_F(RowCulling, FiftyOneRowsKeepOnlyThoseTouchingTheVisibleBox) {
  std::unique_ptr<UIElement> window = captureOutline(51);
  const UIElement& outline = *window->children()[0];
  std::vector<std::string> expected;
  // Row 4 ends at y 100 and row 15 starts at y 300: touching counts.
  for (int i = 4; i <= 15; ++i)
    expected.push_back("row" + std::to_string(i));
  EXPECT_EQ(childIds(outline), expected);
  EXPECT_EQ(geometryProbes(), 51u) << "one round trip per row for its position and size";
  EXPECT_EQ(ax.callsOn("row30"), 1u) << "a culled row is only probed";
}

TEST_F(RowCulling, FiftyRowsAreAllBuilt) {
  std::unique_ptr<UIElement> window = captureOutline(50);
  EXPECT_EQ(window->children()[0]->children().size(), 50u);
  EXPECT_EQ(geometryProbes(), 0u);
}

TEST_F(RowCulling, ListsAreNeverCulled) {
  std::unique_ptr<UIElement> window = captureOutline(60, "AXList");
  EXPECT_EQ(window->children()[0]->children().size(), 60u);
}

TEST_F(RowCulling, RowsWithoutGeometryAreCulled) {
  ax.add("ghost").role("AXRow").set("AXPosition", AXPoint{0, 150});
  std::vector<std::string> ids = {"ghost"};
  for (int i = 0; i < 60; ++i) {
    ids.push_back("r" + std::to_string(i));
    ax.add(ids.back()).role("AXRow").frame(0, 150, 400, 20);
  }
  ax.add("table").role("AXTable").frame(0, 0, 400, 400).set("AXRows", ax.elements(ids));
  std::unique_ptr<UIElement> table = build("table", 60, Box{0, 0, 400, 400});
  EXPECT_EQ(table->children().size(), 60u);
  EXPECT_EQ(ax.callsOn("ghost"), 1u);
}

TEST_F(Construction, AWindowHandsItsChildrenAWindowRelativeBox) {
  // Window at (100, 50); a group without geometry holds the only visible
  // button, so the group takes the box its window handed down.
  ax.add("window")
      .role("AXWindow")
      .frame(100, 50, 800, 600)
      .set("AXChildren", ax.elements({"group"}));
  ax.add("group").role("AXGroup").set("AXChildren", ax.elements({"ok"}));
  ax.add("ok").role("AXButton").frame(150, 80, 60, 20);
  std::unique_ptr<UIElement> window =
      build("window", 60, Box{0, 0, 800, 600}, std::vector<Box>{{100, 50, 900, 650}});
  EXPECT_EQ(window->visibleBBox(), (Box{100, 50, 900, 650}));
  const UIElement& group = *window->children()[0];
  EXPECT_TRUE(group.visible());
  EXPECT_EQ(group.visibleBBox(), (Box{0, 0, 800, 600}));
  EXPECT_EQ(group.children()[0]->visibleBBox(), (Box{50, 30, 110, 50}));
}

// Applications that answer badly: huge lists, endless chains, wrong kinds
// everywhere, and no answers at all.
TEST_F(Construction, TenThousandChildrenInOneList) {
  std::vector<std::string> ids;
  for (int i = 0; i < 10'000; ++i) {
    ids.push_back("item" + std::to_string(i));
    ax.add(ids.back()).role("AXStaticText").frame(i % 100 * 10, i / 100 * 10, 10, 10);
  }
  ax.add("grid").role("AXGroup").frame(0, 0, 1000, 1000).set("AXChildren", ax.elements(ids));
  std::unique_ptr<UIElement> grid = build("grid", 60, Box{0, 0, 500, 500});
  // The list read stops at 9999 entries; the last item is dropped.
  ASSERT_EQ(grid->children().size(), 9'999u);
  EXPECT_EQ(ax.idOf(grid->children().back()->axElement()), "item9998");
  size_t visible = 0;
  for (const auto& child : grid->children())
    visible += child->visible();
  EXPECT_EQ(visible, 50u * 50u);
  // The group: two batches and ranged reads of the two lists it lacks; each
  // item: two batches and ranged reads of all three lists.
  EXPECT_EQ(ax.roundTrips(), 4u + 5u * 9'999u);
}

TEST_F(Construction, AnEndlessChainStopsAtTheDepthLimit) {
  for (int i = 0; i < 200; ++i) {
    ax.add("link" + std::to_string(i))
        .role("AXGroup")
        .frame(0, 0, 100, 100)
        .set("AXChildren", ax.elements({"link" + std::to_string(i + 1)}));
  }
  std::unique_ptr<UIElement> root = build("link0", 60);
  EXPECT_EQ(depthOf(*root), 61u);
}

TEST_F(Construction, WrongKindsEverywhere) {
  ax.add("odd")
      .set("AXRole", 7)
      .set("AXTitle", AXPoint{1, 1})
      .set("AXEnabled", "yes")
      .set("AXFocused", 2.0)
      .set("AXPosition", "10,10")
      .set("AXSize", AXRect{{0, 0}, {5, 5}})
      .set("AXDescription", true)
      .set("AXRoleDescription", AXValueList{})
      .set("AXIdentifier", 12)
      .set("AXVisibleChildren", "none")
      .set("AXChildren", AXValueList{AXValue(ax.element("x")), AXValue(3)})
      .set("AXRows", AXPoint{0, 0})
      .set("AXContents", AXValue(ax.element("x")))
      .set("AXChildrenInNavigationOrder", AXValueList{AXValue("x")});
  ax.add("x").role("AXButton").frame(0, 0, 10, 10);
  std::unique_ptr<UIElement> odd = build("odd");
  EXPECT_EQ(odd->role(), "No role");
  EXPECT_FALSE(odd->name() || odd->description() || odd->roleDescription() ||
               odd->nativeIdentifier() || odd->position() || odd->size());
  EXPECT_FALSE(odd->enabled() || odd->focused());
  EXPECT_TRUE(odd->children().empty());
  EXPECT_EQ(ax.callsOn("x"), 0u);
}

TEST_F(Construction, AnApplicationThatNeverAnswersIsAskedThreeTimes) {
  ax.add("window")
      .role("AXWindow")
      .frame(0, 0, 400, 300)
      .set("AXChildren", ax.elements({"a", "b"}));
  ax.freeze();
  std::unique_ptr<UIElement> window =
      build("window", 60, Box{0, 0, 400, 300}, std::vector<Box>{{0, 0, 400, 300}});
  EXPECT_EQ(window->role(), "No role");
  EXPECT_TRUE(window->children().empty());
  EXPECT_LE(ax.roundTrips(), 3u);
}

TEST_F(Construction, AnApplicationThatFreezesMidwayKeepsWhatWasRead) {
  std::vector<std::string> ids;
  for (int i = 0; i < 100; ++i) {
    ids.push_back("b" + std::to_string(i));
    ax.add(ids.back()).role("AXButton").frame(i, 0, 10, 10);
  }
  ax.add("window").role("AXWindow").frame(0, 0, 400, 300).set("AXChildren", ax.elements(ids));
  ax.freezeAfterRoundTrips(20);
  std::unique_ptr<UIElement> window =
      build("window", 60, Box{0, 0, 400, 300}, std::vector<Box>{{0, 0, 400, 300}});
  EXPECT_EQ(window->role(), "AXWindow");
  // Window: 4 round trips (two batches, ranged reads of the two lists it
  // lacks); b0..b2 answer (5 each) and b3's attributes; then three timeouts.
  EXPECT_EQ(ax.roundTrips(), 23u);
  ASSERT_EQ(window->children().size(), 4u);
  EXPECT_EQ(childIds(*window).back(), "b3");
  EXPECT_TRUE(reader.applicationFrozen());
}

}  // namespace
}  // namespace tessary
