// The menu action on scripted selections: which paths reach the host, as
// which argument vector, and what a failed launch leaves in the system log.
#include "ask-extension/ask_menu.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_finder_sync.h"

namespace tessary::askextension {
namespace {

using fake::RecordedLaunch;

constexpr const char* kBundle = "/Applications/Tessary.app/Contents/PlugIns/ask-extension.appex";
constexpr const char* kHost = "/Applications/Tessary.app/Contents/MacOS/Tessary";

struct ActionRun {
  fake::FakeFinderSyncController controller;
  fake::FakeTaskLauncher launcher;
  fake::FakeSystemLog log;
};

void runAction(ActionRun& run, const char* bundle = kBundle) {
  run.launcher.executables.insert(kHost);
  askToEditSelection(run.controller, run.launcher, run.log, bundle);
}

TEST(AskMenu, ThreeSelectedFilesGiveOneLaunchWithFourArguments) {
  ActionRun run;
  run.controller.selection = {{"/Users/ada/b.txt", "/Users/ada/a.txt", "/Users/ada/c"}};
  run.controller.target = "/Users/ada";
  runAction(run);
  EXPECT_EQ(run.launcher.launches,
            (std::vector<RecordedLaunch>{
                {kHost, {"--ask", "/Users/ada/b.txt", "/Users/ada/a.txt", "/Users/ada/c"}}}));
  EXPECT_EQ(run.controller.queries, std::vector<std::string>{"selectedItemURLs"});
  EXPECT_TRUE(run.log.messages.empty());
}

TEST(AskMenu, WithoutASelectionTheTargetedFolderIsSent) {
  for (auto selection : {std::optional<std::vector<std::string>>{},
                         std::optional<std::vector<std::string>>{std::vector<std::string>{}}}) {
    ActionRun run;
    run.controller.selection = selection;
    run.controller.target = "/Users/ada/Projects";
    runAction(run);
    EXPECT_EQ(run.launcher.launches,
              (std::vector<RecordedLaunch>{{kHost, {"--ask", "/Users/ada/Projects"}}}));
    EXPECT_EQ(run.controller.queries,
              (std::vector<std::string>{"selectedItemURLs", "targetedURL"}));
  }
}

TEST(AskMenu, NothingToSendLaunchesNothing) {
  struct Case {
    const char* name;
    std::optional<std::vector<std::string>> selection;
    std::optional<std::string> target;
  };
  for (const Case& c : {
           Case{"no selection, no folder", std::nullopt, std::nullopt},
           Case{"empty selection, no folder", std::vector<std::string>{}, std::nullopt},
           // The selection is not empty, so the folder is not asked for.
           Case{"only item has an empty path", std::vector<std::string>{""}, "/Users/ada"},
           Case{"folder with an empty path", std::nullopt, ""},
       }) {
    ActionRun run;
    run.controller.selection = c.selection;
    run.controller.target = c.target;
    runAction(run);
    EXPECT_TRUE(run.launcher.launches.empty()) << c.name;
    EXPECT_TRUE(run.log.messages.empty()) << c.name;
  }
}

TEST(AskMenu, EmptyPathsAreDroppedAndTheOrderKept) {
  ActionRun run;
  run.controller.selection = {{"", "/z", "", "/a", ""}};
  runAction(run);
  EXPECT_EQ(run.launcher.launches, (std::vector<RecordedLaunch>{{kHost, {"--ask", "/z", "/a"}}}));
}

TEST(AskMenu, PathsReachTheHostUnchanged) {
  // Each is one argument of its own, byte for byte: nothing is quoted,
  // split, expanded or taken for an option.
  const std::vector<std::string> paths = {
      "/Users/ada/My Documents/draft 1.txt",
      "/Users/ada/\"quoted\" 'single' `tick` $HOME *.txt;rm -rf ~",
      "/Users/ada/line\nbreak\tand tab",
      "--help",
      "-rf",
      "/Users/ada/Caf\u00e9 \u65e5\u672c\u8a9e \U0001F600",
      "/Users/ada/Cafe\u0301 decomposed",
      "relative/path",
      "/",
      "/trailing/slash/",
  };
  ActionRun run;
  run.controller.selection = paths;
  runAction(run);
  std::vector<std::string> expected{"--ask"};
  expected.insert(expected.end(), paths.begin(), paths.end());
  ASSERT_EQ(run.launcher.launches.size(), 1u);
  EXPECT_EQ(run.launcher.launches[0].arguments, expected);
}

TEST(AskMenu, AThousandSelectedItemsGoInOneLaunch) {
  std::vector<std::string> paths;
  for (int i = 0; i < 1000; ++i)
    paths.push_back("/Volumes/Photos/IMG_" + std::to_string(1000 + i) + ".HEIC");
  ActionRun run;
  run.controller.selection = paths;
  runAction(run);
  ASSERT_EQ(run.launcher.launches.size(), 1u);
  const std::vector<std::string>& arguments = run.launcher.launches[0].arguments;
  ASSERT_EQ(arguments.size(), 1001u);
  EXPECT_EQ(arguments.front(), "--ask");
  EXPECT_TRUE(std::equal(paths.begin(), paths.end(), arguments.begin() + 1));
}

TEST(AskMenu, AMissingHostLogsOneLine) {
  ActionRun run;
  run.controller.selection = {{"/Users/ada/a.txt"}};
  // An extension bundle that was copied outside a host bundle.
  runAction(run, "/Users/ada/Downloads/ask-extension.appex");
  ASSERT_EQ(run.launcher.launches.size(), 1u);
  EXPECT_EQ(run.launcher.launches[0].executablePath, "/Users/ada/MacOS/Tessary");
  EXPECT_EQ(run.log.messages,
            std::vector<std::string>{"Ask Tessary Finder extension failed to launch Tessary: "
                                     "The file \u201cTessary\u201d doesn\u2019t exist."});
}

TEST(AskMenu, TheHostIsFoundFromTheExtensionBundle) {
  struct Case {
    const char* bundle;
    const char* host;
  };
  for (const Case& c : {
           Case{kBundle, kHost},
           // bundleURL of a directory ends in a slash.
           Case{"/Applications/Tessary.app/Contents/PlugIns/ask-extension.appex/", kHost},
           Case{"/Users/ada/Applications/Tessary Beta.app/Contents/PlugIns/X.appex",
                "/Users/ada/Applications/Tessary Beta.app/Contents/MacOS/Tessary"},
           Case{"/PlugIns/X.appex", "/MacOS/Tessary"},
           Case{"/X.appex", "/MacOS/Tessary"},
       }) {
    EXPECT_EQ(hostExecutablePath(c.bundle), c.host) << c.bundle;
  }
}

TEST(AskMenu, RegistersTheRootFolder) {
  fake::FakeFinderSyncController controller;
  registerDirectories(controller);
  EXPECT_EQ(controller.directoryRegistrations, std::vector<std::vector<std::string>>{{"/"}});
}

}  // namespace
}  // namespace tessary::askextension
