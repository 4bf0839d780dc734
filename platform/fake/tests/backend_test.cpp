// Opening the backend from the environment, directly and as a program does.
#include <gmock/gmock.h>
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

std::string writeScene(const std::string& name, const std::string& text) {
  const std::filesystem::path directory =
      std::filesystem::temp_directory_path() / "tessary-fake-backend-test";
  std::filesystem::create_directories(directory);
  const std::string path = (directory / name).string();
  std::ofstream(path) << text;
  return path;
}

struct OpenCase {
  std::string label;
  std::optional<std::string> sceneText;  // nothing: the variable is not set
  std::string expectedErr;               // "{path}" stands for the scene file
  bool opens;
};

class OpenBackend : public ::testing::TestWithParam<OpenCase> {};

TEST_P(OpenBackend, OpensTheSceneOrSaysWhyNotInOneLine) {
  const OpenCase& c = GetParam();
  Environment environment;
  std::string path;
  if (c.sceneText) {
    path = writeScene(c.label + ".json", *c.sceneText);
    environment["TESSARY_SIM_DESKTOP"] = path;
  }
  std::ostringstream err;
  std::unique_ptr<PlatformBackend> backend = openPlatformBackend(environment, err);
  EXPECT_EQ(backend != nullptr, c.opens);
  std::string expected = c.expectedErr;
  if (size_t at = expected.find("{path}"); at != std::string::npos) expected.replace(at, 6, path);
  EXPECT_EQ(err.str(), expected);
  if (backend) {
    EXPECT_TRUE(backend->platform().accessibility.isProcessTrusted());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Environments, OpenBackend,
    ::testing::Values(OpenCase{"unset", std::nullopt, kNoBackendLine, false},
                      OpenCase{"good", R"({"mainScreen": [0, 0, 10, 10]})", "", true},
                      OpenCase{"broken",
                               R"({"applications": [{"pid": 1, "element": {"titel": "x"}}]})",
                               "error: {path}: applications[0].element: unknown key \"titel\"\n",
                               false}),
    [](const ::testing::TestParamInfo<OpenCase>& info) { return info.param.label; });

TEST(OpenBackend, EmptyVariableNamesNoScene) {
  std::ostringstream err;
  EXPECT_EQ(openPlatformBackend(Environment{{"TESSARY_SIM_DESKTOP", ""}}, err), nullptr);
  EXPECT_EQ(err.str(), kNoBackendLine);
}

TEST(ProgramWithoutBackend, ExitsWithOneLine) {
  testing::BinaryRun run = testing::runBinary("scene-census", {}, {});
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, kNoBackendLine);
}

TEST(ProgramWithBrokenScene, ExitsWithOneLineNamingTheFile) {
  const std::string path = writeScene("bad-json.json", "{\"trusted\": true,\n}");
  testing::BinaryRun run = testing::runBinary("scene-census", {}, {{"TESSARY_SIM_DESKTOP", path}});
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_THAT(run.err,
              ::testing::StartsWith("error: " + path + ": not valid JSON: parse error at line 2"));
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1);
  EXPECT_TRUE(run.err.ends_with("\n"));
}

TEST(ProgramWithMissingScene, ExitsWithOneLineNamingTheFile) {
  testing::BinaryRun run =
      testing::runBinary("scene-census", {}, {{"TESSARY_SIM_DESKTOP", "/nonexistent/scene.json"}});
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_EQ(run.err,
            "error: /nonexistent/scene.json: cannot read the scene file (No such file or "
            "directory)\n");
}

}  // namespace
}  // namespace tessary
