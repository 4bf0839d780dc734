// pane-scout on the bundled demo desktop, the host's overlay excluded as the
// host does.
#include <gtest/gtest.h>

#include <map>

#include "testsupport/paths.h"
#include "testsupport/run_binary.h"

namespace tessary::panescout {
namespace {

tessary::testing::BinaryRun onDemo(const std::vector<std::string>& arguments) {
  return tessary::testing::runBinary(
      "pane-scout", arguments,
      {{"TESSARY_SIM_DESKTOP", tessary::testing::sourcePath("demo/desktop.json")},
       {"TESSARY_OVERLAY_EXCLUDED_PID", "900"}});
}

constexpr const char* kBrowser =
    "ok pid=501 cgWindowId=104 x=180 y=60 w=1100 h=780 owner=Google Chrome "
    "title=Inbox - Mail - Google Chrome appBundle=/Applications/Google Chrome.app\n";

TEST(ScoutOnTheDemo, AnswersTheHostsQueries) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      // The Finder window under the menu bar.
      {{"at", "1300", "12"},
       "ok pid=300 cgWindowId=109 x=1200 y=0 w=300 h=240 owner=Finder title=Downloads "
       "appBundle=/System/Library/CoreServices/Finder.app\n"},
      {{"list-at", "1300", "12"},
       "hit pid=160 cgWindowId=100 layer=24 skip=layer24 bounds=0,0,1512,33 owner=Window Server "
       "title=Menubar\n"
       "hit pid=900 cgWindowId=102 layer=3 skip=pid bounds=0,0,1512,982 owner=Tessary "
       "title=Tessary Overlay\n"
       "hit pid=300 cgWindowId=109 layer=0 skip=no bounds=1200,0,300,240 owner=Finder "
       "title=Downloads\n"},
      {{"at", "640", "420"}, kBrowser},
      {{"frontmost", "501"}, kBrowser},
      {{"active"}, kBrowser},
      {{"bounds", "104"}, kBrowser},
      // Only the desktop there.
      {{"at", "1490", "500"}, "none\n"}};
  for (const auto& [arguments, expected] : cases) {
    tessary::testing::BinaryRun run = onDemo(arguments);
    EXPECT_EQ(run.out, expected) << arguments[0];
    EXPECT_EQ(run.exitStatus, 0) << arguments[0];
    EXPECT_EQ(run.err, "") << arguments[0];
  }
}

}  // namespace
}  // namespace tessary::panescout
