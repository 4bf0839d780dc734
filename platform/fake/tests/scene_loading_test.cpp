// Loading scenes: what a good scene gives, and the one-line message of each
// kind of mistake.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/fake/fake_desktop.h"

namespace tessary::fake {
namespace {

std::string loadProblem(std::string_view scene) {
  auto loaded = FakeDesktop::fromSceneText(scene);
  if (auto* problem = std::get_if<std::string>(&loaded)) return *problem;
  return "(loaded)";
}

struct DefectCase {
  std::string label;
  std::string scene;
  std::string problem;
};

class BrokenScene : public ::testing::TestWithParam<DefectCase> {};

TEST_P(BrokenScene, IsRefusedWithOneClearLine) {
  EXPECT_EQ(loadProblem(GetParam().scene), GetParam().problem);
}

// An application whose element tree the cases below change.
std::string withElement(const std::string& element) {
  return R"({"applications": [{"pid": 7, "element": )" + element + "}]}";
}

INSTANTIATE_TEST_SUITE_P(
    Defects, BrokenScene,
    ::testing::Values(
        DefectCase{"notAnObject", "[]", "scene: must be the scene (a JSON object)"},
        DefectCase{"unknownTopLevelKey", R"({"trustd": true})", R"(scene: unknown key "trustd")"},
        DefectCase{"repeatedKey", R"({"applications": [{"pid": 1, "name": "A", "name": "B"}]})",
                   R"(applications[0]: key "name" is given twice)"},
        DefectCase{"wrongTopLevelType", R"({"trusted": "yes"})", "trusted: must be true or false"},
        DefectCase{"mainScreenWithoutHeight", R"({"mainScreen": {"x": 0, "y": 0, "w": 10}})",
                   "mainScreen: needs h"},
        DefectCase{"applicationWithoutPid", R"({"applications": [{"name": "A"}]})",
                   "applications[0]: an application needs a pid"},
        DefectCase{"pidTwice", R"({"applications": [{"pid": 1}, {"pid": 1}]})",
                   "applications[1]: pid 1 is used by two applications"},
        DefectCase{"pidOutOfRange", R"({"applications": [{"pid": 2147483648}]})",
                   "applications[0].pid: is out of the 32-bit range"},
        DefectCase{"negativeFreeze", R"({"applications": [{"pid": 1, "freezeAfterCalls": -1}]})",
                   "applications[0].freezeAfterCalls: must not be negative"},
        DefectCase{"frontmostNamesNoApplication", R"({"frontmostApplication": 12})",
                   "frontmostApplication: no application has pid 12"},
        DefectCase{"unknownElementKey", withElement(R"({"children": [{"titel": "OK"}]})"),
                   R"(applications[0].element.children[0]: unknown key "titel")"},
        DefectCase{"textShorthandGivenANumber", withElement(R"({"title": 5})"),
                   "applications[0].element.title: must be a text"},
        DefectCase{"frameOfThreeNumbers", withElement(R"({"frame": [1, 2, 3]})"),
                   "applications[0].element.frame: must be a list of 4 numbers"},
        DefectCase{"childThatIsNoElement", withElement(R"({"children": ["ok"]})"),
                   "applications[0].element.children[0]: must be an element object or a ref"},
        DefectCase{"idTwice",
                   withElement(R"({"children": [{"id": "a", "role": "AXButton"}, {"id": "a"}]})"),
                   R"(applications[0].element.children[1].id: id "a" is used twice)"},
        DefectCase{
            "reservedId", withElement(R"({"id": "#1"})"),
            R"(applications[0].element.id: must not begin with "#" (kept for elements without an id))"},
        DefectCase{"danglingRef", withElement(R"({"children": [{"ref": "gone"}]})"),
                   R"(applications[0].element.children[0].ref: ref "gone" names no element)"},
        DefectCase{"attributeTwice",
                   withElement(R"({"role": "AXGroup", "attributes": {"AXRole": "AXList"}})"),
                   R"(applications[0].element.role: attribute "AXRole" is given twice)"},
        DefectCase{"frameAndPosition",
                   withElement(R"({"frame": [0, 0, 1, 1], "position": [0, 0]})"),
                   R"(applications[0].element.position: attribute "AXPosition" is given twice)"},
        DefectCase{
            "typedValueWithTwoKeys", withElement(R"({"value": {"point": [1, 2], "size": [3, 4]}})"),
            R"(applications[0].element.value: a typed value ({"point": ...}, {"ref": ...}, {"error": ...}, ...) has exactly one key)"},
        DefectCase{"errorInsideAList", withElement(R"({"value": [1, {"error": -25212}]})"),
                   "applications[0].element.value[1]: an error or timeout is the answer of a whole "
                   "attribute, not part of a value"},
        DefectCase{"nullInsideAList", withElement(R"({"value": [null]})"),
                   "applications[0].element.value[0]: null stands only for a whole attribute's "
                   "answer (success without a value)"},
        DefectCase{"errorCodeZero", withElement(R"({"title": {"error": 0}})"),
                   "applications[0].element.title.error: 0 is success, not an error"},
        DefectCase{"timeoutFalse", withElement(R"({"title": {"timeout": false}})"),
                   "applications[0].element.title.timeout: must be true (leave the timeout out "
                   "otherwise)"},
        DefectCase{
            "negativeHash", withElement(R"({"hash": -1})"),
            "applications[0].element.hash: must be a whole number from 0 to 18446744073709551615"},
        DefectCase{"settableTwice", withElement(R"({"settable": ["AXValue", "AXValue"]})"),
                   R"(applications[0].element.settable[1]: "AXValue" is listed twice)"},
        DefectCase{"emptySetResults", withElement(R"({"setResults": {"AXValue": []}})"),
                   "applications[0].element.setResults.AXValue: must be a non-empty list of result "
                   "codes, one per write attempt (0 = success)"},
        DefectCase{"hitErrorOnAnElement", withElement(R"({"elementAtPositionError": -25204})"),
                   "applications[0].element.elementAtPositionError: only the system-wide element "
                   "takes elementAtPositionError here; an application's goes on the application"},
        DefectCase{"systemWideWithId", R"({"systemWide": {"id": "sw"}})",
                   R"(systemWide.id: the system-wide element's id is always "systemWide")"},
        DefectCase{"windowListOfText", R"({"windowList": "none"})",
                   R"(windowList: must be a list of windows (front to back) or "fail")"},
        DefectCase{"windowWithoutBounds", R"({"windowList": [{"owner": "A", "pid": 1}]})",
                   "windowList[0]: a window needs bounds [x, y, w, h] (omit can take them away)"},
        DefectCase{"unknownWindowKey", R"({"windowList": [{"ownr": "A", "bounds": [0, 0, 1, 1]}]})",
                   R"(windowList[0]: unknown key "ownr")"},
        DefectCase{"windowLayerAsReal",
                   R"({"windowList": [{"layer": 25.0, "bounds": [0, 0, 1, 1]}]})",
                   "windowList[0].layer: must be a whole number"},
        DefectCase{
            "rawRepeatsAShorthand",
            R"({"windowList": [{"pid": 1, "bounds": [0, 0, 1, 1], "raw": {"kCGWindowOwnerPID": 2}}]})",
            "windowList[0].raw.kCGWindowOwnerPID: is also given by a shorthand key"},
        DefectCase{
            "rawRealOfAWord",
            R"({"windowList": [{"bounds": [0, 0, 1, 1], "raw": {"kCGWindowAlpha": {"real": "half"}}}]})",
            "windowList[0].raw.kCGWindowAlpha.real: must be a number (or \"nan\", \"inf\", "
            "\"-inf\" or a decimal text)"},
        DefectCase{"omitOfAMissingKey",
                   R"({"windowList": [{"bounds": [0, 0, 1, 1], "omit": ["kCGWindowNme"]}]})",
                   R"(windowList[0].omit[0]: the entry has no key "kCGWindowNme" to omit)"},
        DefectCase{
            "windowNumberTwice",
            R"({"windowList": [{"number": 5, "bounds": [0, 0, 1, 1]}, {"number": 5, "bounds": [0, 0, 1, 1]}]})",
            "windowList[1].number: window number 5 is used twice"},
        DefectCase{"windowLinkedToNothing",
                   R"({"windowList": [{"bounds": [0, 0, 1, 1], "element": "w"}]})",
                   R"(windowList[0].element: no element has id "w")"}),
    [](const ::testing::TestParamInfo<DefectCase>& info) { return info.param.label; });

TEST(BrokenScene, BadJsonNamesLineAndColumn) {
  EXPECT_THAT(loadProblem("{\n  \"screens\": [1,,2]\n}"),
              ::testing::StartsWith("not valid JSON: parse error at line 2, column 17:"));
}

// Whatever is cut off a scene, loading answers with a scene or one line; it
// never crashes or hangs.
TEST(BrokenScene, EveryTruncationLoadsOrGivesOneLine) {
  const std::string scene = R"({"mainScreen": [0, 0, 100, 100], "frontmostApplication": 3,
    "applications": [{"pid": 3, "name": "A", "observers": {"create": 0},
      "element": {"id": "app", "windows": [{"id": "w", "role": "AXWindow", "frame": [0, 0, 50, 50],
        "children": [{"id": "b", "title": {"other": "AXAttributedString"}, "value": 1.5,
                      "settable": {"AXValue": true}, "setResults": {"AXValue": [-25204, 0]}},
                     {"ref": "w"}], "attributes": {"AXSelectedTextRange": {"range": [0, 2]}}}]}}],
    "systemWide": {"focusedElement": {"ref": "b"}},
    "windowList": [{"owner": "A", "pid": 3, "bounds": [0, 0, 50, 50], "raw": {"kCGWindowAlpha": 1}, "omit": ["kCGWindowName"], "name": "x"}]})";
  ASSERT_EQ(loadProblem(scene), "(loaded)");
  for (size_t length = 0; length < scene.size(); ++length) {
    std::string problem = loadProblem(std::string_view(scene).substr(0, length));
    EXPECT_EQ(problem.find('\n'), std::string::npos) << problem;
    EXPECT_NE(problem, "(loaded)") << "length " << length;
  }
}

// Nesting deep enough to run the stack out is refused with a message.
TEST(BrokenScene, DeepNestingIsRefused) {
  std::string elements, values;
  for (int i = 0; i < 5000; ++i)
    elements += R"({"children": [)";
  elements += "{}";
  for (int i = 0; i < 5000; ++i)
    elements += "]}";
  EXPECT_THAT(loadProblem(withElement(elements)),
              ::testing::EndsWith("nests too deep (more than 2000 levels of keys and lists)"));

  values = std::string(100000, '[') + std::string(100000, ']');
  EXPECT_THAT(loadProblem(withElement(R"({"value": )" + values + "}")),
              ::testing::EndsWith("nests too deep (more than 2000 levels of keys and lists)"));
  EXPECT_THAT(
      loadProblem(R"({"windowList": [{"bounds": [0, 0, 1, 1], "raw": {"deep": )" + values + "}}]}"),
      ::testing::EndsWith("nests too deep (more than 2000 levels of keys and lists)"));
}

TEST(SceneFile, ProblemsNameTheFile) {
  const std::filesystem::path directory =
      std::filesystem::temp_directory_path() / "tessary-fake-scene-file-test";
  std::filesystem::create_directories(directory);
  const std::string path = (directory / "broken.json").string();
  std::ofstream(path) << R"({"trusted": 1})";

  auto broken = FakeDesktop::fromSceneFile(path);
  ASSERT_TRUE(std::holds_alternative<std::string>(broken));
  EXPECT_EQ(std::get<std::string>(broken), path + ": trusted: must be true or false");

  const std::string missing = (directory / "missing.json").string();
  auto absent = FakeDesktop::fromSceneFile(missing);
  ASSERT_TRUE(std::holds_alternative<std::string>(absent));
  EXPECT_EQ(std::get<std::string>(absent),
            missing + ": cannot read the scene file (No such file or directory)");
}

TEST(GoodScene, EmptySceneIsAnEmptyDesktop) {
  auto desktop = loadSceneOrThrow("{}");
  Platform& platform = desktop->platform();
  EXPECT_TRUE(platform.accessibility.isProcessTrusted());
  EXPECT_EQ(platform.screens.mainScreenFrame(), std::nullopt);
  ASSERT_TRUE(platform.windowServer.copyWindowInfo(windowlist::onScreenOnly, 0));
  EXPECT_TRUE(platform.windowServer.copyWindowInfo(windowlist::onScreenOnly, 0)->empty());
  EXPECT_TRUE(platform.workspace.runningApplications().empty());
  EXPECT_EQ(platform.workspace.frontmostApplication(), std::nullopt);
  EXPECT_EQ(
      platform.accessibility
          .copyAttributeValue(platform.accessibility.systemWideElement(), "AXFocusedUIElement")
          .error,
      axerror::attributeUnsupported);
}

TEST(GoodScene, TopLevelSettingsAreKept) {
  auto desktop = loadSceneOrThrow(R"({
    "trusted": false, "mainScreen": {"x": 0, "y": 0, "w": 1512, "h": 982},
    "applications": [
      {"pid": 10, "name": "Mail", "bundleIdentifier": "com.example.mail", "bundlePath": "/Applications/Mail.app"},
      {"pid": 11, "running": false},
      {"pid": 12}],
    "frontmostApplication": 10, "windowList": "fail"})");
  Platform& platform = desktop->platform();
  EXPECT_FALSE(platform.accessibility.isProcessTrusted());
  EXPECT_EQ(platform.screens.mainScreenFrame(), (Rect{0, 0, 1512, 982}));
  EXPECT_EQ(platform.windowServer.copyWindowInfo(windowlist::onScreenOnly, 0), std::nullopt);

  std::vector<RunningApplication> running = platform.workspace.runningApplications();
  ASSERT_EQ(running.size(), 2u);  // the one that is not running is left out
  EXPECT_EQ(running[0].pid, 10);
  EXPECT_EQ(running[0].localizedName, "Mail");
  EXPECT_EQ(running[0].bundleIdentifier, "com.example.mail");
  EXPECT_EQ(running[0].bundlePath, "/Applications/Mail.app");
  EXPECT_EQ(running[1].pid, 12);
  EXPECT_EQ(running[1].localizedName, std::nullopt);
  EXPECT_EQ(running[1].bundleIdentifier, std::nullopt);
  ASSERT_TRUE(platform.workspace.frontmostApplication());
  EXPECT_EQ(platform.workspace.frontmostApplication()->pid, 10);
}

TEST(GoodScene, ApplicationWithoutElementAnswersAsAnApplication) {
  auto desktop = loadSceneOrThrow(R"({"applications": [{"pid": 10, "name": "Mail"}]})");
  Accessibility& accessibility = desktop->platform().accessibility;
  AXElement app = accessibility.applicationElement(10);
  EXPECT_EQ(app.native(), desktop->element("app:10").native());
  EXPECT_EQ(*accessibility.copyAttributeValue(app, "AXRole").get()->text(), "AXApplication");
  EXPECT_EQ(*accessibility.copyAttributeValue(app, "AXTitle").get()->text(), "Mail");
  AXResult windows = accessibility.copyAttributeValue(app, "AXWindows");
  ASSERT_TRUE(windows.get() && windows.get()->list());
  EXPECT_TRUE(windows.get()->list()->empty());
  EXPECT_EQ(accessibility.processIdentifier(app), 10);
}

}  // namespace
}  // namespace tessary::fake
