// Element records built from the simulated desktop: round trips per element,
// an attribute the application hangs on, an application that freezes
// midway, and child lists that lead back up the tree.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "platform/fake/fake_desktop.h"
#include "scene-census/element/ui_element.h"

namespace tessary {
namespace {

using fake::FakeDesktop;
using fake::loadSceneOrThrow;

size_t countRecords(const UIElement& element) {
  size_t count = 1;
  for (const auto& child : element.children())
    count += countRecords(*child);
  return count;
}

std::unique_ptr<UIElement> buildWindow(FakeDesktop& desktop, AttributeReader& reader,
                                       const std::string& id, const Box& screenBox,
                                       const Point& position) {
  Box relative{screenBox[0] - static_cast<int64_t>(position.x),
               screenBox[1] - static_cast<int64_t>(position.y),
               screenBox[2] - static_cast<int64_t>(position.x),
               screenBox[3] - static_cast<int64_t>(position.y)};
  return std::make_unique<UIElement>(reader, desktop.element(id), 0, 0, 60, relative,
                                     std::vector<Box>{screenBox});
}

constexpr const char* kSettings = R"({"applications": [{"pid": 7, "name": "Settings",
  "element": {"windows": [{"id": "settings", "role": "AXWindow", "title": "Settings",
    "frame": [100, 100, 500, 400], "children": [
      {"id": "tabs", "role": "AXTabGroup", "frame": [100, 130, 500, 40], "children": [
        {"id": "general", "role": "AXRadioButton", "title": "General", "value": 1, "frame": [110, 135, 80, 30]},
        {"id": "advanced", "role": "AXRadioButton", "title": "Advanced", "value": 0, "frame": [200, 135, 80, 30]}]},
      {"id": "form", "role": "AXGroup", "frame": [100, 180, 500, 300], "children": [
        {"id": "name-label", "role": "AXStaticText", "value": "Name", "frame": [110, 190, 60, 20]},
        {"id": "name-field", "role": "AXTextField", "value": "Ada", "frame": [180, 190, 200, 20]},
        {"id": "hidden-field", "role": "AXTextField", "frame": [180, 900, 200, 20]},
        {"id": "apply", "role": "AXButton", "title": "Apply", "frame": [480, 440, 80, 24]}]}]}]}}]})";

TEST(ElementScene, RoundTripsPerRecord) {
  auto desktop = loadSceneOrThrow(kSettings);
  AttributeReader reader(desktop->platform().accessibility);
  desktop->clearCalls();
  std::unique_ptr<UIElement> window =
      buildWindow(*desktop, reader, "settings", {100, 100, 600, 500}, {100, 100});
  EXPECT_EQ(countRecords(*window), 9u);
  // Two batches per record, and a ranged read of every list the batch
  // answered with an error: the window, the tab group and the form lack two
  // of the three, the six leaves all three.
  EXPECT_EQ(desktop->accessibilityRoundTrips(), 2u * 9 + 3 * 2 + 6 * 3);
}

TEST(ElementScene, AnAttributeTheApplicationHangsOnCostsOnlyThatAttribute) {
  auto desktop = loadSceneOrThrow(R"({"applications": [{"pid": 7, "element": {"windows": [
    {"id": "slow-field", "role": "AXTextField", "title": "Notes", "description": "Long text",
     "frame": [10, 10, 300, 100], "value": {"timeout": true}}]}}]})");
  AttributeReader reader(desktop->platform().accessibility);
  desktop->clearCalls();
  UIElement field(reader, desktop->element("slow-field"), 0, 0, 60, Box{0, 0, 1000, 1000},
                  std::nullopt);
  EXPECT_EQ(field.role(), "AXTextField");
  EXPECT_EQ(field.name(), "Notes");
  EXPECT_EQ(field.description(), "Long text");
  EXPECT_EQ(field.bbox(), (Box{10, 10, 310, 110}));
  EXPECT_FALSE(field.value());
  EXPECT_FALSE(reader.applicationFrozen());
  // The batch, the ten attributes one by one, then the child sources and
  // ranged reads of the three lists the field lacks.
  EXPECT_EQ(desktop->accessibilityRoundTrips(), 1u + 10 + 1 + 3);
}

TEST(ElementScene, AnApplicationThatFreezesMidwayIsLeftAfterThreeTimeouts) {
  std::string buttons;
  for (int i = 0; i < 20; ++i) {
    if (i) buttons += ",";
    buttons += R"({"id": "button)" + std::to_string(i) + R"(", "role": "AXButton", "frame": [)" +
               std::to_string(10 + 20 * i) + ", 10, 18, 18]}";
  }
  auto desktop = loadSceneOrThrow(
      R"({"applications": [{"pid": 7, "freezeAfterCalls": 15, "element": {"windows": [
    {"id": "toolbar", "role": "AXWindow", "frame": [0, 0, 500, 40], "children": [)" +
      buttons + "]}]}}]}");
  AttributeReader reader(desktop->platform().accessibility);
  desktop->clearCalls();
  double start = desktop->elapsedSeconds();
  std::unique_ptr<UIElement> window =
      buildWindow(*desktop, reader, "toolbar", {0, 0, 500, 40}, {0, 0});
  // Fifteen answers: the window (two batches, ranged reads of the two lists
  // it lacks), button0 and button1 (5 each), button2's attributes. Then
  // button2's child sources and its first two single reads time out, and
  // nothing more is asked.
  EXPECT_EQ(desktop->accessibilityRoundTrips(), 18u);
  EXPECT_TRUE(reader.applicationFrozen());
  ASSERT_EQ(window->children().size(), 3u);
  EXPECT_EQ(window->children()[2]->bbox(), (Box{50, 10, 68, 28}));
  EXPECT_TRUE(window->children()[2]->children().empty());
  // Three messaging timeouts at most (the simulated default is 6 seconds),
  // where a capture that kept asking would wait for every remaining button.
  EXPECT_LE(desktop->elapsedSeconds() - start, 3 * 6.0);
  std::string markup = window->toCompactText(0);
  EXPECT_EQ(std::count(markup.begin(), markup.end(), '\n'), 5) << markup;
}

TEST(ElementScene, ChildListsThatLeadBackUpAreNotFollowed) {
  auto desktop = loadSceneOrThrow(R"({"applications": [{"pid": 7, "element": {"windows": [
    {"id": "inbox", "role": "AXWindow", "frame": [0, 0, 400, 300], "children": [
      {"id": "messages", "role": "AXOutline", "frame": [0, 0, 400, 300],
       "rows": [{"id": "first-message", "role": "AXRow", "frame": [0, 0, 400, 20],
                 "children": [{"ref": "inbox"}, {"ref": "messages"}, {"ref": "first-message"},
                              {"id": "subject", "role": "AXStaticText", "value": "Hello",
                               "frame": [0, 0, 100, 20]}]}]}]}]}}]})");
  AttributeReader reader(desktop->platform().accessibility);
  std::unique_ptr<UIElement> window =
      buildWindow(*desktop, reader, "inbox", {0, 0, 400, 300}, {0, 0});
  EXPECT_EQ(countRecords(*window), 4u);
  EXPECT_EQ(window->toCompactText(0),
            "<window>\n  <div>\n    <tr>\n      <text>Hello</text>\n    </tr>\n  </div>\n"
            "</window>\n");
}

}  // namespace
}  // namespace tessary
