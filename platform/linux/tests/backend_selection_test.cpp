// Which backend a program gets on Linux: the scene when one is named, the X11
// desktop when a display is named, and otherwise an error; never a silent
// fallback from one to the other.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/backend.h"
#include "testsupport/run_binary.h"

namespace tessary {
namespace {

constexpr const char* kNoBackendLine =
    "error: no desktop backend available on this platform (set TESSARY_SIM_DESKTOP to a scene "
    "file)\n";
// No X server listens on this display.
constexpr const char* kMissingDisplay = ":987654";

TEST(BackendSelection, ADisplayThatCannotBeOpenedIsAnError) {
  std::ostringstream err;
  EXPECT_EQ(openPlatformBackend({{"DISPLAY", kMissingDisplay}}, err), nullptr);
  EXPECT_EQ(err.str(), "error: cannot open the X display ':987654'\n");

  testing::BinaryRun run = testing::runBinary("scene-census", {}, {{"DISPLAY", kMissingDisplay}});
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "error: cannot open the X display ':987654'\n");
}

TEST(BackendSelection, TheSceneWinsOverTheDisplayAndABrokenSceneDoesNotFallBack) {
  const std::filesystem::path directory =
      std::filesystem::temp_directory_path() / "tessary-backend-selection-test";
  std::filesystem::create_directories(directory);
  const std::string good = (directory / "good.json").string();
  std::ofstream(good) << R"({"mainScreen": [0, 0, 10, 10]})";

  std::ostringstream err;
  std::unique_ptr<PlatformBackend> backend =
      openPlatformBackend({{"DISPLAY", kMissingDisplay}, {"TESSARY_SIM_DESKTOP", good}}, err);
  ASSERT_NE(backend, nullptr);
  EXPECT_EQ(err.str(), "");
  EXPECT_EQ(backend->platform().screens.mainScreenFrame(), (Rect{0, 0, 10, 10}));

  std::ostringstream missing;
  EXPECT_EQ(openPlatformBackend(
                {{"DISPLAY", kMissingDisplay}, {"TESSARY_SIM_DESKTOP", "/nonexistent/scene.json"}},
                missing),
            nullptr);
  EXPECT_EQ(missing.str(),
            "error: /nonexistent/scene.json: cannot read the scene file (No such file or "
            "directory)\n");
}

TEST(BackendSelection, AnEmptyDisplayNamesNone) {
  std::ostringstream err;
  EXPECT_EQ(openPlatformBackend({{"DISPLAY", ""}}, err), nullptr);
  EXPECT_EQ(err.str(), kNoBackendLine);
}

}  // namespace
}  // namespace tessary
