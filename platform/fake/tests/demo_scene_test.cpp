// The bundled demo desktop loads and shows what it is there to show.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/fake/fake_desktop.h"
#include "platform/fake/tests/answer_text.h"
#include "testsupport/paths.h"
#include "testsupport/run_binary.h"

namespace tessary::fake {
namespace {

using testing::answerText;

std::unique_ptr<FakeDesktop> demoDesktop() {
  auto loaded = FakeDesktop::fromSceneFile(tessary::testing::sourcePath("demo/desktop.json"));
  if (auto* problem = std::get_if<std::string>(&loaded)) {
    ADD_FAILURE() << *problem;
    return nullptr;
  }
  return std::move(std::get<std::unique_ptr<FakeDesktop>>(loaded));
}

TEST(DemoDesktop, HasTheWindowsTheCaptureListsAndTheOverlayInFront) {
  auto desktop = demoDesktop();
  ASSERT_TRUE(desktop);
  Platform& platform = desktop->platform();
  std::optional<PlistArray> windows = platform.windowServer.copyWindowInfo(
      windowlist::onScreenOnly | windowlist::excludeDesktopElements, windowlist::nullWindowId);
  ASSERT_TRUE(windows);
  std::vector<std::string> owners;
  for (const PlistValue& window : *windows)
    owners.push_back(*window.find("kCGWindowOwnerName")->asString());
  EXPECT_EQ(owners, (std::vector<std::string>{"Window Server", "Control Center", "Tessary", "Dock",
                                              "Google Chrome", "TextEdit", "TextEdit", "Notes",
                                              "Terminal", "Finder"}));
  EXPECT_EQ(platform.screens.mainScreenFrame(), (Rect{0, 0, 1512, 982}));

  Accessibility& accessibility = platform.accessibility;
  const std::vector<std::string> ids = {"overlay-window", "mail-archive"};
  // The host's overlay covers the screen; the browser's button is under it.
  EXPECT_EQ(
      answerText(*desktop,
                 accessibility.elementAtPosition(accessibility.systemWideElement(), 500, 252), ids),
      R"({"ref":"overlay-window"})");
  EXPECT_EQ(
      answerText(*desktop,
                 accessibility.elementAtPosition(accessibility.applicationElement(501), 500, 252),
                 ids),
      R"({"ref":"mail-archive"})");
  // The selection-only mode and field-writer find the search field.
  AXResult focused =
      accessibility.copyAttributeValue(accessibility.systemWideElement(), "AXFocusedUIElement");
  EXPECT_EQ(answerText(*desktop, focused, {"mail-search"}), R"({"ref":"mail-search"})");
}

TEST(DemoDesktop, CaptureTargetsTheBrowserOnlyWithTheOverlayExcluded) {
  const std::string scene = tessary::testing::sourcePath("demo/desktop.json");
  tessary::testing::BinaryRun excluded = tessary::testing::runBinary(
      "scene-census", {},
      {{"TESSARY_SIM_DESKTOP", scene}, {"TESSARY_OVERLAY_EXCLUDED_PID", "900"}});
  EXPECT_EQ(excluded.exitStatus, 0);
  EXPECT_THAT(excluded.err,
              ::testing::HasSubstr("DEBUG: Target window owner='Google Chrome' pid=501 "
                                   "name='Inbox - Mail - Google Chrome'"));

  tessary::testing::BinaryRun overlaid =
      tessary::testing::runBinary("scene-census", {}, {{"TESSARY_SIM_DESKTOP", scene}});
  EXPECT_EQ(overlaid.exitStatus, 0);
  EXPECT_THAT(overlaid.err, ::testing::HasSubstr("DEBUG: Target window owner='Tessary' pid=900"));
}

}  // namespace
}  // namespace tessary::fake
