// The host's views in a scene ("hostViews"): what a view's window is, and
// the one-line message of each mistake.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fake/fake_desktop.h"

namespace tessary::fake {
namespace {

std::string withViews(const std::string& views) {
  return R"({"windowList": [{"number": 501, "layer": 3, "bounds": [0, 0, 10, 10]},
      {"number": 502, "bounds": [0, 0, 10, 10]}], "hostViews": )" +
         views + "}";
}

std::string loadProblem(const std::string& scene) {
  auto loaded = FakeDesktop::fromSceneText(scene);
  if (auto* problem = std::get_if<std::string>(&loaded)) return *problem;
  return "(loaded)";
}

TEST(HostViews, ViewsNameTheirWindowsByAddress) {
  auto desktop = loadSceneOrThrow(withViews(R"([
      {"address": "0x600000001000", "window": 501},
      {"address": "0X600000001008", "window": 501, "comment": "a second view in the same window"},
      {"address": "0xffffffffffffffff", "window": {"number": -1, "level": 8}},
      {"address": "0x1", "window": {}},
      {"address": "0x600000002000", "window": null}])"));
  HostWindows& windows = desktop->platform().hostWindows;
  std::optional<HostWindow> first = windows.windowOfView(0x600000001000);
  std::optional<HostWindow> second = windows.windowOfView(0x600000001008);
  ASSERT_TRUE(first && second);
  EXPECT_EQ(windows.windowNumber(*first), 501);
  EXPECT_EQ(windows.level(*first), 3);  // the entry's layer
  // One window: a change through one view shows through the other.
  windows.setLevel(*first, 0);
  EXPECT_EQ(windows.level(*second), 0);
  EXPECT_EQ(*(*desktop->platform().windowServer.copyWindowInfo(0, 0))[0]
                 .find("kCGWindowLayer")
                 ->asInteger(),
            0);

  std::optional<HostWindow> unlisted = windows.windowOfView(0xffffffffffffffff);
  ASSERT_TRUE(unlisted);
  EXPECT_EQ(windows.windowNumber(*unlisted), -1);
  EXPECT_EQ(windows.level(*unlisted), 8);
  std::optional<HostWindow> defaults = windows.windowOfView(0x1);
  ASSERT_TRUE(defaults);
  EXPECT_EQ(windows.windowNumber(*defaults), 0);
  EXPECT_EQ(windows.level(*defaults), 0);
  EXPECT_EQ(windows.windowOfView(0x600000002000), std::nullopt);
  EXPECT_EQ(windows.windowOfView(0x600000003000), std::nullopt);
}

TEST(HostViews, OrderingAWindowTheListDoesNotShowChangesNothing) {
  auto desktop = loadSceneOrThrow(withViews(R"([{"address": "0x10", "window": {"number": 0}}])"));
  HostWindows& windows = desktop->platform().hostWindows;
  std::optional<PlistArray> before = desktop->platform().windowServer.copyWindowInfo(0, 0);
  windows.orderAbove(*windows.windowOfView(0x10), 502);
  EXPECT_EQ(desktop->platform().windowServer.copyWindowInfo(0, 0)->size(), before->size());
}

std::vector<int64_t> listOrder(FakeDesktop& desktop) {
  std::vector<int64_t> numbers;
  std::optional<PlistArray> list = desktop.platform().windowServer.copyWindowInfo(0, 0);
  for (const PlistValue& entry : *list)
    numbers.push_back(*entry.find("kCGWindowNumber")->asInteger());
  return numbers;
}

TEST(HostViews, OrderingKeepsTheLevelsInOrder) {
  auto desktop = loadSceneOrThrow(R"({"windowList": [
      {"number": 1, "layer": 3, "bounds": [0, 0, 10, 10]},
      {"number": 2, "bounds": [0, 0, 10, 10]},
      {"number": 3, "bounds": [0, 0, 10, 10]},
      {"number": 4, "bounds": [0, 0, 10, 10]}],
      "hostViews": [{"address": "0x10", "window": 4}]})");
  HostWindows& windows = desktop->platform().hostWindows;
  HostWindow window = *windows.windowOfView(0x10);
  windows.orderAbove(window, 3);
  EXPECT_EQ(listOrder(*desktop), (std::vector<int64_t>{1, 2, 4, 3}));
  windows.orderAbove(window, 4);  // relative to itself: it stays
  EXPECT_EQ(listOrder(*desktop), (std::vector<int64_t>{1, 2, 4, 3}));
  windows.orderAbove(window, 999);  // an unknown window: the front of its level
  EXPECT_EQ(listOrder(*desktop), (std::vector<int64_t>{1, 4, 2, 3}));
  windows.orderAbove(window, 1);  // a higher level: as close as its own level allows
  EXPECT_EQ(listOrder(*desktop), (std::vector<int64_t>{1, 4, 2, 3}));
  windows.setLevel(window, 3);  // a new level: its front
  EXPECT_EQ(listOrder(*desktop), (std::vector<int64_t>{4, 1, 2, 3}));
  windows.setLevel(window, 0);
  EXPECT_EQ(listOrder(*desktop), (std::vector<int64_t>{1, 4, 2, 3}));
  windows.setLevel(window, -5);  // below every other window
  EXPECT_EQ(listOrder(*desktop), (std::vector<int64_t>{1, 2, 3, 4}));
}

struct DefectCase {
  const char* label;
  std::string scene;
  std::string problem;
  friend void PrintTo(const DefectCase& c, std::ostream* os) { *os << c.label; }
};

class BrokenHostViews : public ::testing::TestWithParam<DefectCase> {};

TEST_P(BrokenHostViews, AreRefusedWithOneClearLine) {
  EXPECT_EQ(loadProblem(GetParam().scene), GetParam().problem);
}

const std::string kAddressProblem =
    "must be a view address, \"0x\" and 1 to 16 hex digits, not zero";

INSTANTIATE_TEST_SUITE_P(
    Defects, BrokenHostViews,
    ::testing::Values(
        DefectCase{"NotAList", withViews(R"({"address": "0x10"})"),
                   "hostViews: must be a list of host views"},
        DefectCase{"NotAnObject", withViews(R"(["0x10"])"),
                   "hostViews[0]: must be a host view (a JSON object)"},
        DefectCase{"NoAddress", withViews(R"([{"window": 501}])"),
                   "hostViews[0]: a host view needs an address"},
        DefectCase{"NoWindow", withViews(R"([{"address": "0x10"}])"),
                   "hostViews[0]: a host view needs a window (a window number, an object or null)"},
        DefectCase{"AddressAsNumber", withViews(R"([{"address": 16, "window": 501}])"),
                   "hostViews[0].address: must be a text"},
        DefectCase{"AddressWithoutPrefix",
                   withViews(R"([{"address": "600000001000", "window": null}])"),
                   "hostViews[0].address: " + kAddressProblem},
        DefectCase{"AddressPrefixOnly", withViews(R"([{"address": "0x", "window": null}])"),
                   "hostViews[0].address: " + kAddressProblem},
        DefectCase{"AddressZero", withViews(R"([{"address": "0x0000", "window": null}])"),
                   "hostViews[0].address: " + kAddressProblem},
        DefectCase{"AddressNotHex", withViews(R"([{"address": "0x12g4", "window": null}])"),
                   "hostViews[0].address: " + kAddressProblem},
        DefectCase{"AddressSigned", withViews(R"([{"address": "0x-12", "window": null}])"),
                   "hostViews[0].address: " + kAddressProblem},
        DefectCase{"AddressTooLong",
                   withViews(R"([{"address": "0x10000000000000000", "window": null}])"),
                   "hostViews[0].address: " + kAddressProblem},
        DefectCase{
            "AddressTwice",
            withViews(
                R"([{"address": "0x10", "window": null}, {"address": "0x010", "window": 502}])"),
            "hostViews[1].address: the address is used by two views"},
        DefectCase{"WindowNotListed", withViews(R"([{"address": "0x10", "window": 777}])"),
                   "hostViews[0].window: names no window of the window list (an object gives a "
                   "window the list does not show)"},
        DefectCase{"WindowNumberZero", withViews(R"([{"address": "0x10", "window": 0}])"),
                   "hostViews[0].window: names no window of the window list (an object gives a "
                   "window the list does not show)"},
        DefectCase{"WindowNumberFraction", withViews(R"([{"address": "0x10", "window": 501.5}])"),
                   "hostViews[0].window: must be a whole number"},
        DefectCase{
            "WindowText", withViews(R"([{"address": "0x10", "window": "501"}])"),
            "hostViews[0].window: must be a window number, null or {\"number\", \"level\"} (a "
            "JSON object)"},
        DefectCase{"ObjectNamesAListedWindow",
                   withViews(R"([{"address": "0x10", "window": {"number": 502}}])"),
                   "hostViews[0].window.number: is a window of the window list: give the window by "
                   "its number instead"},
        DefectCase{"ObjectUnknownKey",
                   withViews(R"([{"address": "0x10", "window": {"layer": 3}}])"),
                   "hostViews[0].window: unknown key \"layer\" (number, level)"},
        DefectCase{"UnknownKey", withViews(R"([{"address": "0x10", "window": null, "view": 1}])"),
                   "hostViews[0]: unknown key \"view\" (address, window, comment)"}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace tessary::fake
