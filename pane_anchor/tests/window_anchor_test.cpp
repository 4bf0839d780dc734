// The four operations on the simulated desktop: what they answer, what they
// change, and which calls they make on which thread.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

#include "pane_anchor/window_anchor.h"
#include "platform/fake/fake_desktop.h"

namespace tessary::anchor {
namespace {

using ::testing::ElementsAre;

// Front to back: the menu bar, two floating palettes, then normal windows
// with the host's window behind Mail. The host also has a hidden window, one
// never shown and a view that is in no window.
constexpr const char* kScene = R"({
  "windowList": [
    {"number": 40, "owner": "Window Server", "layer": 24, "bounds": [0, 0, 1512, 33]},
    {"number": 310, "owner": "Palette", "layer": 3, "bounds": [0, 40, 200, 200]},
    {"number": 311, "owner": "Stickies", "layer": 3, "bounds": [300, 40, 200, 200]},
    {"number": 301, "owner": "Mail", "bounds": [100, 100, 800, 600]},
    {"number": 501, "owner": "Tessary", "bounds": [200, 200, 400, 300]},
    {"number": 303, "owner": "Finder", "bounds": [0, 0, 1512, 982]},
    {"number": 502, "owner": "Tessary", "onscreen": false, "bounds": [0, 0, 300, 200]}
  ],
  "hostViews": [
    {"address": "0x600000001000", "window": 501},
    {"address": "0x600000002000", "window": 502},
    {"address": "0x600000003000", "window": {"number": 0}},
    {"address": "0x600000004000", "window": null}
  ]
})";

std::vector<uint8_t> handleOf(uint64_t view) {
  std::vector<uint8_t> handle(8);
  std::memcpy(handle.data(), &view, 8);
  return handle;
}

const std::vector<uint8_t> kHostWindow = handleOf(0x600000001000);
const std::vector<uint8_t> kHiddenWindow = handleOf(0x600000002000);
const std::vector<uint8_t> kNeverShown = handleOf(0x600000003000);

std::vector<std::string> callsOf(const fake::FakeDesktop& desktop) {
  std::vector<std::string> calls;
  for (const fake::PlatformCall& call : desktop.calls()) {
    calls.push_back(call.detail.empty() ? call.operation : call.operation + " " + call.detail);
  }
  return calls;
}

// The on-screen list as "number:layer", front to back.
std::vector<std::string> onScreenOrder(Platform& platform) {
  std::vector<std::string> order;
  std::optional<PlistArray> list = platform.windowServer.copyWindowInfo(kOnScreenListOptions, 0);
  for (const PlistValue& entry : *list) {
    order.push_back(std::to_string(*entry.find("kCGWindowNumber")->asInteger()) + ":" +
                    std::to_string(*entry.find("kCGWindowLayer")->asInteger()));
  }
  return order;
}

class WindowAnchor : public ::testing::Test {
 protected:
  std::unique_ptr<fake::FakeDesktop> desktop = fake::loadSceneOrThrow(kScene);
  Platform& platform = desktop->platform();
};

TEST_F(WindowAnchor, PinAboveFloatsTheWindowDirectlyAboveATargetOfItsLevel) {
  EXPECT_TRUE(pinAbove(platform, kHostWindow, 311));
  EXPECT_THAT(callsOf(*desktop),
              ElementsAre("isMainThread yes", "viewWindow view=0x600000001000",
                          "windowLevel window=501", "setWindowLevel window=501 level=3",
                          "windowNumber window=501", "orderWindowAbove window=501 relativeTo=311"));
  EXPECT_THAT(onScreenOrder(platform),
              ElementsAre("40:24", "310:3", "501:3", "311:3", "301:0", "303:0"));
}

TEST_F(WindowAnchor, PinAboveANormalWindowKeepsTheFloatingLevelInFront) {
  EXPECT_TRUE(pinAbove(platform, kHostWindow, 301));
  // As near the target as the levels allow: behind the other floating windows.
  EXPECT_THAT(onScreenOrder(platform),
              ElementsAre("40:24", "310:3", "311:3", "501:3", "301:0", "303:0"));
}

TEST_F(WindowAnchor, PinAboveLeavesAFloatingWindowsLevelAlone) {
  ASSERT_TRUE(pinAbove(platform, kHostWindow, 311));
  desktop->clearCalls();
  EXPECT_TRUE(pinAbove(platform, kHostWindow, 310));
  EXPECT_THAT(callsOf(*desktop), ElementsAre("isMainThread yes", "viewWindow view=0x600000001000",
                                             "windowLevel window=501", "windowNumber window=501",
                                             "orderWindowAbove window=501 relativeTo=310"));
  EXPECT_THAT(onScreenOrder(platform),
              ElementsAre("40:24", "501:3", "310:3", "311:3", "301:0", "303:0"));
}

TEST_F(WindowAnchor, SetWindowLevelNormalBringsAPinnedWindowBack) {
  ASSERT_TRUE(pinAbove(platform, kHostWindow, 311));
  desktop->clearCalls();
  EXPECT_TRUE(setWindowLevelNormal(platform, kHostWindow));
  EXPECT_THAT(callsOf(*desktop), ElementsAre("isMainThread yes", "viewWindow view=0x600000001000",
                                             "setWindowLevel window=501 level=0"));
  EXPECT_EQ(describeZOrder(platform, kHostWindow).windowLevel, 0);
  // At the front of the normal level.
  EXPECT_THAT(onScreenOrder(platform),
              ElementsAre("40:24", "310:3", "311:3", "501:0", "301:0", "303:0"));
}

TEST_F(WindowAnchor, TargetZeroTouchesNothing) {
  EXPECT_FALSE(pinAbove(platform, kHostWindow, 0));
  EXPECT_TRUE(desktop->calls().empty());
}

TEST_F(WindowAnchor, PinningAHiddenWindowShowsIt) {
  EXPECT_EQ(describeZOrder(platform, kHiddenWindow).place.index, -1);
  EXPECT_TRUE(pinAbove(platform, kHiddenWindow, 301));
  EXPECT_THAT(onScreenOrder(platform),
              ElementsAre("40:24", "310:3", "311:3", "502:3", "301:0", "501:0", "303:0"));
}

TEST_F(WindowAnchor, AWindowThatWasNeverShownIsFloatedButNotOrdered) {
  EXPECT_FALSE(pinAbove(platform, kNeverShown, 301));
  EXPECT_THAT(
      callsOf(*desktop),
      ElementsAre("isMainThread yes", "viewWindow view=0x600000003000", "windowLevel window=0",
                  "setWindowLevel window=0 level=3", "windowNumber window=0"));
  EXPECT_EQ(getWindowNumber(platform, kNeverShown), 0);
  ZOrderDescription description = describeZOrder(platform, kNeverShown);
  EXPECT_TRUE(description.ok);
  EXPECT_EQ(description.windowNumber, 0);
  EXPECT_EQ(description.windowLevel, 3);
  EXPECT_EQ(description.place.index, -1);
  EXPECT_EQ(description.place.windowsAbove.size(), 6u);  // every on-screen window
}

TEST_F(WindowAnchor, GetWindowNumberReadsTheWindowsNumber) {
  EXPECT_EQ(getWindowNumber(platform, kHostWindow), 501);
  EXPECT_EQ(getWindowNumber(platform, kHiddenWindow), 502);
}

TEST_F(WindowAnchor, DescribeZOrderReadsTheWindowThenTheOnScreenList) {
  ZOrderDescription description = describeZOrder(platform, kHostWindow);
  EXPECT_THAT(callsOf(*desktop), ElementsAre("isMainThread yes", "viewWindow view=0x600000001000",
                                             "windowNumber window=501", "windowLevel window=501",
                                             "copyWindowInfo options=17 relativeTo=0"));
  EXPECT_TRUE(description.ok);
  EXPECT_EQ(description.windowNumber, 501);
  EXPECT_EQ(description.windowLevel, 0);
  EXPECT_EQ(description.place, (ZOrderPlace{4,
                                            {{40, "Window Server", 24},
                                             {310, "Palette", 3},
                                             {311, "Stickies", 3},
                                             {301, "Mail", 0}}}));
}

struct UnusableCase {
  const char* label;
  std::vector<uint8_t> handle;
  friend void PrintTo(const UnusableCase& c, std::ostream* os) { *os << c.label; }
};

class UnusableHandle : public ::testing::TestWithParam<UnusableCase> {};

TEST_P(UnusableHandle, AnswersFalseZeroOrNotOkAndChangesNothing) {
  auto desktop = fake::loadSceneOrThrow(kScene);
  Platform& platform = desktop->platform();
  const std::vector<uint8_t>& handle = GetParam().handle;
  EXPECT_FALSE(pinAbove(platform, handle, 301));
  EXPECT_FALSE(setWindowLevelNormal(platform, handle));
  EXPECT_EQ(getWindowNumber(platform, handle), 0);
  ZOrderDescription description = describeZOrder(platform, handle);
  EXPECT_FALSE(description.ok);
  for (const fake::PlatformCall& call : desktop->calls()) {
    EXPECT_THAT(call.operation, ::testing::AnyOf("isMainThread", "viewWindow"));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Handles, UnusableHandle,
    ::testing::Values(UnusableCase{"Empty", {}},
                      UnusableCase{"FourBytes", {0x00, 0x10, 0x00, 0x00}},
                      UnusableCase{"SevenBytes", std::vector<uint8_t>(kHostWindow.begin(),
                                                                      kHostWindow.end() - 1)},
                      UnusableCase{"AddressZero", handleOf(0)},
                      UnusableCase{"ViewWithoutWindow", handleOf(0x600000004000)},
                      UnusableCase{"UnknownView", handleOf(0x600000009000)}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(WindowAnchorList, AnUnavailableWindowListLeavesTheDescriptionOk) {
  auto desktop = fake::loadSceneOrThrow(R"({"windowList": "fail",
      "hostViews": [{"address": "0x600000001000", "window": {"number": 501, "level": 3}}]})");
  ZOrderDescription description = describeZOrder(desktop->platform(), kHostWindow);
  EXPECT_TRUE(description.ok);
  EXPECT_EQ(description.windowNumber, 501);
  EXPECT_EQ(description.windowLevel, 3);
  EXPECT_EQ(description.place, (ZOrderPlace{-1, {}}));
}

// A call from another thread hands the window work to the main queue and
// waits; the window list is read afterwards on the calling thread.
TEST_F(WindowAnchor, OffTheMainThreadTheWindowWorkGoesToTheMainQueue) {
  bool pinned = false;
  ZOrderDescription description;
  std::thread caller([&] {
    pinned = pinAbove(platform, kHostWindow, 311);
    description = describeZOrder(platform, kHostWindow);
  });
  caller.join();
  EXPECT_TRUE(pinned);
  EXPECT_EQ(description.place.index, 2);
  EXPECT_THAT(
      callsOf(*desktop),
      ElementsAre("isMainThread no", "runOnMainQueueAndWait", "viewWindow view=0x600000001000",
                  "windowLevel window=501", "setWindowLevel window=501 level=3",
                  "windowNumber window=501", "orderWindowAbove window=501 relativeTo=311",
                  "isMainThread no", "runOnMainQueueAndWait", "viewWindow view=0x600000001000",
                  "windowNumber window=501", "windowLevel window=501",
                  "copyWindowInfo options=17 relativeTo=0"));
}

// The simulated desktop reports window work done off the main thread, so the
// test above would see a call that skipped the main queue.
TEST_F(WindowAnchor, TheDesktopReportsWindowWorkOffTheMainThread) {
  HostWindows& windows = platform.hostWindows;
  std::optional<HostWindow> window = windows.windowOfView(0x600000001000);
  ASSERT_TRUE(window);
  desktop->clearCalls();
  std::thread([&] { windows.level(*window); }).join();
  EXPECT_THAT(callsOf(*desktop),
              ElementsAre("offMainThread windowLevel", "windowLevel window=501"));
  EXPECT_THROW(windows.runOnMainQueueAndWait([] {}), std::logic_error);
}

}  // namespace
}  // namespace tessary::anchor
