// The element map of the capture JSON: keys, kinds, presence, number
// formats, the window-offset shift and the application-name rule.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "common/json.h"
#include "scene-census/element/ui_element.h"
#include "scene-census/tests/element_tree_builder.h"
#include "scene-census/tests/scripted_accessibility.h"

namespace tessary {
namespace {

using nlohmann::json;
using testing::ScriptedAccessibility;
using testing::TestNode;
using testing::TreeBuilder;

json parsed(const JsonObject& map) {
  std::string text;
  EXPECT_TRUE(writeJsonCompact(JsonValue(map), text));
  return json::parse(text);
}

class ElementDict : public ::testing::Test {
 protected:
  std::unique_ptr<UIElement> build(std::string_view id, double offsetX = 0, double offsetY = 0,
                                   std::optional<Box> parentBox = std::nullopt) {
    return std::make_unique<UIElement>(reader, ax.element(id), offsetX, offsetY, 60, parentBox,
                                       std::nullopt);
  }
  ScriptedAccessibility ax;
  AttributeReader reader{ax};
};

TEST_F(ElementDict, AnElementWithNothingHasOnlyTheAlwaysPresentKeys) {
  ax.add("bare");
  json map = parsed(build("bare")->toDict());
  json expected = {{"id", build("bare")->identifier()},
                   {"role", "No role"},
                   {"position", ""},
                   {"size", ""},
                   {"enabled", false},
                   {"focused", false},
                   {"visible", false},
                   {"children", json::array()}};
  EXPECT_EQ(map, expected);
}

TEST_F(ElementDict, AFullElement) {
  ax.add("field")
      .role("AXTextField")
      .title("")
      .set("AXDescription", " Email ")
      .set("AXRoleDescription", "text field")
      .set("AXValue", "a@b.c")
      .set("AXEnabled", true)
      .set("AXFocused", true)
      .set("AXIdentifier", "email")
      .frame(120.5, 48, 300.4, 20.6);
  std::unique_ptr<UIElement> field = build("field", 100, 40, Box{0, 0, 1000, 1000});
  json expected = {{"id", field->identifier()},
                   {"name", ""},
                   {"role", "AXTextField"},
                   {"description", " Email "},
                   {"role_description", "text field"},
                   {"value", "a@b.c"},
                   {"position", "120.50;48.00"},
                   {"size", "300;21"},
                   {"enabled", true},
                   {"focused", true},
                   {"bbox", {120, 48, 420, 68}},
                   {"visible_bbox", {120, 48, 420, 68}},
                   {"visible", true},
                   {"children", json::array()}};
  EXPECT_EQ(parsed(field->toDict()), expected);
}

TEST_F(ElementDict, ValueTextByKind) {
  struct Case {
    const char* what;
    AXValue value;
    std::optional<std::string> expected;
  };
  const std::vector<Case> cases = {
      {"text", AXValue("hello"), "hello"},
      {"empty text", AXValue(""), ""},
      {"integer", AXValue(42), "42"},
      {"negative integer", AXValue(int64_t{-7}), "-7"},
      {"whole real", AXValue(3.0), "3"},
      {"large whole real", AXValue(1e20), "100000000000000000000"},
      {"fraction", AXValue(0.5), "0.5"},
      {"boolean true", AXValue(true), "1"},
      {"boolean false", AXValue(false), "0"},
      {"point", AXValue(AXPoint{1, 2}), std::nullopt},
      {"rectangle", AXValue(AXRect{{1, 2}, {3, 4}}), std::nullopt},
      {"range", AXValue(AXRange{0, 3}), std::nullopt},
      {"element", AXValue(ax.element("someone")), std::nullopt},
      {"list", AXValue(AXValueList{AXValue("a")}), std::nullopt},
      {"attributed text", AXValue(AXOtherValue{"NSAttributedString"}), std::nullopt},
  };
  for (const Case& c : cases) {
    std::string id = std::string("value ") + c.what;
    ax.add(id).set("AXValue", c.value);
    json map = parsed(build(id)->toDict());
    if (c.expected) {
      EXPECT_EQ(map.value("value", json()), *c.expected) << c.what;
    } else {
      EXPECT_FALSE(map.contains("value")) << c.what;
    }
  }
  // Fractions read back as the same number.
  ax.add("third").set("AXValue", 1.0 / 3);
  EXPECT_EQ(std::stod(parsed(build("third")->toDict())["value"].get<std::string>()), 1.0 / 3);
}

TEST_F(ElementDict, PositionAndSizeFormats) {
  struct Case {
    Point position;
    Size size;
    const char* positionText;
    const char* sizeText;
  };
  const Case cases[] = {
      {{120.5, 48}, {300.4, 20.6}, "120.50;48.00", "300;21"},
      {{-10.125, -0.004}, {2.5, 3.5}, "-10.12;-0.00", "2;4"},
      {{0.005, 1e6}, {0.5, 1.5}, "0.01;1000000.00", "0;2"},
  };
  for (const Case& c : cases) {
    std::string id = std::string("at ") + c.positionText;
    ax.add(id).set("AXPosition", c.position).set("AXSize", c.size);
    json map = parsed(build(id)->toDict());
    EXPECT_EQ(map["position"], c.positionText);
    EXPECT_EQ(map["size"], c.sizeText);
  }
}

TEST_F(ElementDict, VisibleBoxIsPrintedInScreenCoordinates) {
  // A window at (100, 50) and a button inside it; the capture hands the
  // window its own box.
  ax.add("window")
      .role("AXWindow")
      .frame(100, 50, 800, 600)
      .set("AXChildren", ax.elements({"button"}));
  ax.add("button").role("AXButton").frame(110, 70, 50, 20);
  std::unique_ptr<UIElement> window = build("window", 0, 0, Box{0, 0, 800, 600});
  json map = parsed(window->toDict());
  EXPECT_EQ(map["visible_bbox"], json({0, 0, 800, 600}));
  EXPECT_EQ(map["children"][0]["visible_bbox"], json({110, 70, 160, 90}));
  EXPECT_EQ(map["children"][0]["bbox"], json({110, 70, 160, 90}));
  EXPECT_EQ(window->children()[0]->visibleBBox(), (Box{10, 20, 60, 40}));
}

TEST_F(ElementDict, OnlyWindowsPrintTheirVisibleBoxUnshifted) {
  // Without geometry of their own, both take the box handed down once their
  // child is visible; the window's is printed as it stands.
  ax.add("child").role("AXButton").frame(110, 70, 50, 20);
  for (const char* role : {"AXWindow", "AXGroup"}) {
    ax.add(role).role(role).set("AXChildren", ax.elements({"child"}));
    json map = parsed(build(role, 100, 50, Box{0, 0, 800, 600})->toDict());
    EXPECT_EQ(map["visible"], true) << role;
    EXPECT_EQ(map["visible_bbox"],
              std::string(role) == "AXWindow" ? json({0, 0, 800, 600}) : json({100, 50, 900, 650}))
        << role;
  }
}

TEST_F(ElementDict, OffsetsShiftByTheirWholePart) {
  struct Case {
    const char* what;
    double offsetX, offsetY;
    json expected;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  // The element's window-relative box is computed with the same offsets, so
  // the printed box shows the truncation of each step.
  const Case cases[] = {
      {"fractional offsets", 100.9, -0.7, {200, 51, 210, 61}},
      {"no offsets", 0, 0, {200, 50, 210, 60}},
      {"NaN offset counts as 0", nan, 0, {0, 50, 0, 60}},
  };
  ax.add("label").role("AXStaticText").frame(200.9, 50.3, 10, 10);
  for (const Case& c : cases) {
    json map = parsed(build("label", c.offsetX, c.offsetY)->toDict());
    EXPECT_EQ(map["visible_bbox"], c.expected) << c.what;
    EXPECT_EQ(map["bbox"], json({200, 50, 210, 60})) << c.what;
  }
}

TEST_F(ElementDict, ApplicationNameOnWindowsAndSystemBars) {
  struct Case {
    std::string role;
    std::string appName;
    bool present;
  };
  const Case cases[] = {
      {"AXWindow", "Notes", true},
      {"AXButton", "Notes", false},
      {"AXButton", "Dock", true},
      {"AXMenuBar", "MenuBar (App)", true},
      {"AXGroup", "MenuBar (System)", true},
      {"AXGroup", "dock", false},
      {"AXwindow", "Notes", false},
  };
  for (const Case& c : cases) {
    std::string id = c.role + " of " + c.appName;
    ax.add(id).role(c.role);
    std::unique_ptr<UIElement> element = build(id);
    element->setAppName(c.appName);
    json map = parsed(element->toDict());
    EXPECT_EQ(map.contains("app_name"), c.present) << id;
    if (c.present) {
      EXPECT_EQ(map["app_name"], c.appName);
    }
  }
}

TEST(ElementDictTree, InvisibleChildrenAreIncludedWithTheirSubtrees) {
  TreeBuilder builder;
  std::unique_ptr<UIElement> root =
      builder.build({"AXGroup",
                     {},
                     {{"AXButton", {{"AXTitle", "Shown"}}},
                      {"AXGroup",
                       {{"AXTitle", "Away"}},
                       {{"AXStaticText", {{"AXValue", "deep"}}, {}, false}},
                       false}}});
  json map = parsed(root->toDict());
  ASSERT_EQ(map["children"].size(), 2u);
  EXPECT_EQ(map["children"][0]["name"], "Shown");
  const json& away = map["children"][1];
  EXPECT_EQ(away["name"], "Away");
  EXPECT_EQ(away["visible"], false);
  EXPECT_FALSE(away.contains("visible_bbox"));
  ASSERT_EQ(away["children"].size(), 1u);
  EXPECT_EQ(away["children"][0]["value"], "deep");
}

}  // namespace
}  // namespace tessary
