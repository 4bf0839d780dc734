// The window server's list: entries built from the shorthand keys, raw keys
// with their exact types, and the list options.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fake/fake_desktop.h"

namespace tessary::fake {
namespace {

PlistDict only(std::optional<PlistArray> list) {
  EXPECT_TRUE(list && list->size() == 1);
  return list && !list->empty() ? *(*list)[0].asDict() : PlistDict{};
}

TEST(WindowEntry, ShorthandsExpandToTheWindowServerKeys) {
  auto desktop = loadSceneOrThrow(R"({"windowList": [{"owner": "Mail", "pid": 501,
      "name": "Inbox", "layer": 3, "bounds": [-20, 25.5, 800, 600], "alpha": 0.5, "number": 77}]})");
  PlistDict entry =
      only(desktop->platform().windowServer.copyWindowInfo(windowlist::onScreenOnly, 0));
  PlistDict expected{{"kCGWindowOwnerName", "Mail"},
                     {"kCGWindowOwnerPID", 501},
                     {"kCGWindowName", "Inbox"},
                     {"kCGWindowLayer", 3},
                     {"kCGWindowBounds",
                      PlistDict{{"X", -20.0}, {"Y", 25.5}, {"Width", 800.0}, {"Height", 600.0}}},
                     {"kCGWindowAlpha", 0.5},
                     {"kCGWindowNumber", 77},
                     {"kCGWindowIsOnscreen", true},
                     {"kCGWindowStoreType", 1},
                     {"kCGWindowSharingState", 1}};
  ASSERT_EQ(entry.size(), expected.size());
  for (const auto& [key, value] : expected) {
    ASSERT_TRUE(entry.contains(key)) << key;
    // Same kind and same value: an integer is not a real here.
    EXPECT_EQ(entry.at(key).storage().index(), value.storage().index()) << key;
    if (key != "kCGWindowBounds") {
      EXPECT_EQ(entry.at(key).asReal(), value.asReal()) << key;
      EXPECT_EQ(entry.at(key).asString() ? *entry.at(key).asString() : "",
                value.asString() ? *value.asString() : "")
          << key;
    }
  }
  const PlistValue bounds = entry.at("kCGWindowBounds");
  EXPECT_EQ(bounds.find("X")->asReal(), -20.0);
  EXPECT_EQ(bounds.find("Height")->asReal(), 600.0);
  EXPECT_EQ(entry.at("kCGWindowAlpha").asReal(), 0.5);
}

TEST(WindowEntry, DefaultsOwnerFromTheApplicationAndLeavesNameOut) {
  auto desktop = loadSceneOrThrow(R"({"applications": [{"pid": 501, "name": "Mail"}],
      "windowList": [{"pid": 501, "bounds": [0, 0, 10, 10]}, {"pid": 502, "bounds": [0, 0, 10, 10]}]})");
  std::optional<PlistArray> list = desktop->platform().windowServer.copyWindowInfo(0, 0);
  ASSERT_TRUE(list && list->size() == 2);
  EXPECT_EQ(*(*list)[0].find("kCGWindowOwnerName")->asString(), "Mail");
  EXPECT_EQ((*list)[0].find("kCGWindowName"), nullptr);
  EXPECT_EQ((*list)[1].find("kCGWindowOwnerName"), nullptr);  // no application to name it
  EXPECT_EQ((*list)[0].find("kCGWindowLayer")->asInteger(), 0);
  EXPECT_EQ((*list)[0].find("kCGWindowAlpha")->asReal(), 1.0);
  // Numbers are given in list order and never repeat.
  EXPECT_NE((*list)[0].find("kCGWindowNumber")->asInteger(),
            (*list)[1].find("kCGWindowNumber")->asInteger());
}

TEST(WindowEntry, RawKeysKeepTheirJsonTypesAndOmitRemovesKeys) {
  auto desktop = loadSceneOrThrow(R"({"windowList": [{"owner": "X",
      "raw": {"kCGWindowLayer": 25.0, "kCGWindowAlpha": 1, "kCGWindowName": 5,
              "kCGWindowBounds": {"X": 1, "Y": "2"}, "Extra": [true, {"a": 1.5}]},
      "omit": ["kCGWindowSharingState", "kCGWindowOwnerName"]}]})");
  PlistDict entry =
      only(desktop->platform().windowServer.copyWindowInfo(windowlist::onScreenOnly, 0));
  EXPECT_TRUE(std::holds_alternative<double>(entry.at("kCGWindowLayer").storage()));
  EXPECT_TRUE(std::holds_alternative<int64_t>(entry.at("kCGWindowAlpha").storage()));
  EXPECT_TRUE(std::holds_alternative<int64_t>(entry.at("kCGWindowName").storage()));
  const PlistValue bounds = entry.at("kCGWindowBounds");
  EXPECT_TRUE(std::holds_alternative<int64_t>(bounds.find("X")->storage()));
  EXPECT_EQ(*bounds.find("Y")->asString(), "2");
  EXPECT_EQ(bounds.find("Width"), nullptr);
  const PlistValue extra = entry.at("Extra");
  ASSERT_TRUE(extra.asArray() && extra.asArray()->size() == 2);
  EXPECT_EQ((*extra.asArray())[1].find("a")->asReal(), 1.5);
  EXPECT_FALSE(entry.contains("kCGWindowSharingState"));
  EXPECT_FALSE(entry.contains("kCGWindowOwnerName"));
}

// Front to back: 10 and 11 on screen, 12 off screen, 13 on screen, 14 the
// desktop picture (a desktop element by its layer), 15 marked as one.
constexpr const char* kStack = R"({"windowList": [
  {"number": 10, "bounds": [0, 0, 1, 1]},
  {"number": 11, "bounds": [0, 0, 1, 1]},
  {"number": 12, "bounds": [0, 0, 1, 1], "onscreen": false},
  {"number": 13, "bounds": [0, 0, 1, 1]},
  {"number": 14, "bounds": [0, 0, 1, 1], "layer": -2147483624},
  {"number": 15, "bounds": [0, 0, 1, 1], "desktop": true}]})";

struct OptionCase {
  std::string label;
  uint32_t options;
  uint32_t relativeTo;
  std::vector<int64_t> numbers;  // empty with failed = true: the call fails
  bool failed = false;
};

class ListOptions : public ::testing::TestWithParam<OptionCase> {};

TEST_P(ListOptions, ListTheWindowsThePlatformWould) {
  auto desktop = loadSceneOrThrow(kStack);
  const OptionCase& c = GetParam();
  std::optional<PlistArray> list =
      desktop->platform().windowServer.copyWindowInfo(c.options, c.relativeTo);
  ASSERT_EQ(!list, c.failed);
  if (!list) return;
  std::vector<int64_t> numbers;
  for (const PlistValue& entry : *list)
    numbers.push_back(*entry.find("kCGWindowNumber")->asInteger());
  EXPECT_EQ(numbers, c.numbers);
}

using namespace windowlist;

INSTANTIATE_TEST_SUITE_P(
    Options, ListOptions,
    ::testing::Values(
        OptionCase{"all", 0, 0, {10, 11, 12, 13, 14, 15}},
        OptionCase{"onScreen", onScreenOnly, 0, {10, 11, 13, 14, 15}},
        OptionCase{"captureList25",
                   onScreenOnly | includingWindow | excludeDesktopElements,
                   0,
                   {10, 11, 13}},
        OptionCase{"visibleApps17", onScreenOnly | excludeDesktopElements, 0, {10, 11, 13}},
        OptionCase{"onScreenIgnoresRelative", onScreenOnly, 13, {10, 11, 13, 14, 15}},
        OptionCase{"above", onScreenAboveWindow, 13, {10, 11}},
        OptionCase{"aboveIncluding", onScreenAboveWindow | includingWindow, 13, {10, 11, 13}},
        OptionCase{"below", onScreenBelowWindow | excludeDesktopElements, 11, {13}},
        OptionCase{"belowIncluding", onScreenBelowWindow | includingWindow, 11, {11, 13, 14, 15}},
        OptionCase{"aboveNullWindow", onScreenAboveWindow, 0, {10, 11, 13, 14, 15}},
        OptionCase{"aboveUnknownWindow", onScreenAboveWindow, 99, {}},
        OptionCase{"justTheWindow", includingWindow, 12, {12}},
        OptionCase{"combinedListOptions", onScreenOnly | onScreenBelowWindow, 11, {}, true}),
    [](const ::testing::TestParamInfo<OptionCase>& info) { return info.param.label; });

TEST(WindowList, FailingListAnswersNothing) {
  auto desktop = loadSceneOrThrow(R"({"windowList": "fail"})");
  EXPECT_EQ(desktop->platform().windowServer.copyWindowInfo(0, 0), std::nullopt);
  EXPECT_EQ(desktop->platform().windowServer.copyWindowInfo(onScreenOnly, 0), std::nullopt);
}

}  // namespace
}  // namespace tessary::fake
