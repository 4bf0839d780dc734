// The printed capture of small scenes, run as the host runs the program:
// element objects compared as parsed JSON, the markup as exact text.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "common/stable_identifier.h"
#include "testsupport/paths.h"
#include "testsupport/run_binary.h"

namespace tessary {
namespace {

using nlohmann::json;

json capture(const std::string& scene, std::map<std::string, std::string> environment = {},
             std::string* err = nullptr) {
  environment["TESSARY_SIM_DESKTOP"] = testing::sourcePath("scene-census/tests/scenes/" + scene);
  testing::BinaryRun run = testing::runBinary("scene-census", {}, environment);
  if (err) *err = run.err;
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  json output = json::parse(run.out, nullptr, false);
  EXPECT_FALSE(output.is_discarded()) << run.out;
  return output;
}

// The element object without its children, which are compared one by one.
json withoutChildren(json element) {
  element.erase("children");
  return element;
}

std::string identifier(const std::string& role, std::optional<Box> bbox,
                       std::optional<std::string> name = std::nullopt,
                       std::optional<std::string> description = std::nullopt) {
  std::optional<Point> position;
  std::optional<Size> size;
  if (bbox) {
    position = Point{double((*bbox)[0]), double((*bbox)[1])};
    size = Size{double((*bbox)[2] - (*bbox)[0]), double((*bbox)[3] - (*bbox)[1])};
  }
  return stableElementIdentifier(role, std::nullopt, bbox, position, size, name, description,
                                 std::nullopt);
}

std::string nativeIdentifier(const std::string& role, const std::string& axid) {
  return stableElementIdentifier(role, axid, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                                 std::nullopt, std::nullopt);
}

class LedgerPartlyCovered : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    output =
        new json(capture("ledger_partly_covered.json", {{"TESSARY_OVERLAY_TARGET_PID", "10"}}));
  }
  static void TearDownTestSuite() { delete output; }
  const json& window() const { return (*output)["elements"][0]; }
  static json* output;
};
json* LedgerPartlyCovered::output = nullptr;

TEST_F(LedgerPartlyCovered, MarkupOfTheVisibleElements) {
  // The wrapper without geometry collapses onto the scroll area; the scroll
  // bar, the one-point divider and the covered total are not written.
  const std::string expected =
      "<window name=\"Budget\">\n"
      "  <button id=\"" +
      nativeIdentifier("AXButton", "save") +
      "\" name=\"Save\"/>\n"
      "  <div alt=\"Accounts\">\n"
      "    <text>Checking</text>\n"
      "    <text>Savings &amp; Loans</text>\n"
      "  </div>\n"
      "  <h2>March</h2>\n"
      "  <checkbox id=\"" +
      nativeIdentifier("AXCheckBox", "paid") +
      "\" name=\"Paid\" checked/>\n"
      "  <div alt=\"Chart\"/>\n"
      "</window>\n";
  EXPECT_EQ((*output)["formatted_text"], expected);
  EXPECT_EQ(output->size(), 2u);
}

TEST_F(LedgerPartlyCovered, TheWindowKeepsItsLargestPieceInScreenCoordinates) {
  ASSERT_EQ((*output)["elements"].size(), 1u);
  json expected = {{"id", identifier("AXWindow", Box{100, 50, 700, 450}, "Budget")},
                   {"name", "Budget"},
                   {"role", "AXWindow"},
                   {"position", "100.00;50.00"},
                   {"size", "600;400"},
                   {"enabled", false},
                   {"focused", false},
                   {"bbox", {100, 50, 700, 450}},
                   {"visible_bbox", {100, 50, 700, 250}},
                   {"visible", true},
                   {"app_name", "Ledger"}};
  EXPECT_EQ(withoutChildren(window()), expected);
  EXPECT_EQ(window()["children"].size(), 7u);
}

TEST_F(LedgerPartlyCovered, ChildrenInScreenCoordinates) {
  const json& children = window()["children"];
  ASSERT_EQ(children.size(), 7u);
  json save = {{"id", nativeIdentifier("AXButton", "save")},
               {"name", " Save "},
               {"role", "AXButton"},
               {"position", "110.00;60.00"},
               {"size", "60;24"},
               {"enabled", true},
               {"focused", false},
               {"bbox", {110, 60, 170, 84}},
               {"visible_bbox", {110, 60, 170, 84}},
               {"visible", true},
               {"children", json::array()}};
  EXPECT_EQ(children[0], save);

  // No geometry of its own: visible through its child, with the box the
  // window handed down (window-relative [0, 0, 600, 200], printed on screen).
  json wrapper = {{"id", identifier("AXGroup", std::nullopt)},
                  {"role", "AXGroup"},
                  {"position", ""},
                  {"size", ""},
                  {"enabled", false},
                  {"focused", false},
                  {"visible_bbox", {100, 50, 700, 250}},
                  {"visible", true}};
  EXPECT_EQ(withoutChildren(children[1]), wrapper);
  ASSERT_EQ(children[1]["children"].size(), 1u);
  const json& accounts = children[1]["children"][0];
  // Its larger piece lies in the lower rectangle.
  EXPECT_EQ(accounts["bbox"], json({100, 100, 250, 450}));
  EXPECT_EQ(accounts["visible_bbox"], json({100, 250, 250, 450}));
  EXPECT_EQ(accounts["children"].size(), 3u) << "the scroll bar stays in the element list";

  json divider = {{"id", identifier("AXSplitter", Box{280, 100, 281, 400}, "Divider")},
                  {"name", "Divider"},
                  {"role", "AXSplitter"},
                  {"position", "280.00;100.00"},
                  {"size", "1;300"},
                  {"enabled", false},
                  {"focused", false},
                  {"bbox", {280, 100, 281, 400}},
                  {"visible_bbox", {280, 100, 281, 250}},
                  {"visible", false},
                  {"children", json::array()}};
  EXPECT_EQ(children[4], divider);

  EXPECT_EQ(children[5]["id"],
            identifier("AXGroup", Box{450, 260, 650, 410}, std::nullopt, "Chart"));
  EXPECT_EQ(children[5]["visible_bbox"], json({450, 260, 500, 410}));
  EXPECT_EQ(children[5]["visible"], true);

  json total = {{"id", identifier("AXStaticText", Box{520, 300, 620, 320})},
                {"role", "AXStaticText"},
                {"value", "Total: 1,250 <USD>"},
                {"position", "520.00;300.00"},
                {"size", "100;20"},
                {"enabled", false},
                {"focused", false},
                {"bbox", {520, 300, 620, 320}},
                {"visible", false},
                {"children", json::array()}};
  EXPECT_EQ(children[6], total);
}

TEST(SceneOutput, APlaceholderWindowIsListedButNotWritten) {
  json output = capture("busy_placeholder_window.json");
  ASSERT_EQ(output["elements"].size(), 1u);
  EXPECT_EQ(output["elements"][0]["name"], "Ledger is doing multiple things");
  EXPECT_EQ(output["elements"][0]["visible"], true);
  EXPECT_EQ(output["elements"][0]["children"][0]["value"], "Please wait");
  EXPECT_EQ(output["formatted_text"], "");
}

TEST(SceneOutput, AnApplicationFreezingMidwayIsGivenUpAndWhatWasReadIsPrinted) {
  std::string err;
  json output = capture("application_freezing_midway.json", {}, &err);
  ASSERT_EQ(output["elements"].size(), 1u);
  const json& window = output["elements"][0];
  EXPECT_EQ(window["name"], "Budget");
  // The buttons read before the freeze, in order; the rest were never built
  // (no position, no children) and are dropped.
  const json& buttons = window["children"];
  ASSERT_GT(buttons.size(), 0u);
  ASSERT_LT(buttons.size(), 60u);
  std::string markup = "<window name=\"Budget\">\n";
  for (size_t i = 0; i < buttons.size(); ++i) {
    EXPECT_EQ(buttons[i]["name"], "Button " + std::to_string(i));
    markup += "  <button id=\"" + buttons[i]["id"].get<std::string>() + "\" name=\"Button " +
              std::to_string(i) + "\"/>\n";
  }
  markup += "</window>\n";
  EXPECT_EQ(output["formatted_text"], markup);

  // Virtual time: three timeouts of at most 6 seconds and the activation
  // pause, where a capture that kept asking would wait on every one of the
  // remaining buttons.
  const std::string marker = "DEBUG: Processed target PID 10 in ";
  size_t at = err.find(marker);
  ASSERT_NE(at, std::string::npos) << err;
  EXPECT_LE(std::stod(err.substr(at + marker.size())), 3 * 6.0 + 0.5);
}

}  // namespace
}  // namespace tessary

namespace tessary {
namespace {

double processedSeconds(const std::string& err) {
  const std::string marker = "DEBUG: Processed target PID 10 in ";
  size_t at = err.find(marker);
  if (at == std::string::npos) {
    ADD_FAILURE() << err;
    return -1;
  }
  return std::stod(err.substr(at + marker.size()));
}

TEST(SceneOutput, AHungDescendantCostsThreeTimeoutsOfTwoSeconds) {
  std::string err;
  json output = capture("application_hanging_on_a_descendant.json", {}, &err);
  ASSERT_EQ(output["elements"].size(), 1u);
  const json& buttons = output["elements"][0]["children"];
  ASSERT_EQ(buttons.size(), 2u);
  EXPECT_EQ(buttons[0]["name"], "Button 0");
  EXPECT_EQ(buttons[1]["name"], "Button 1");
  // The batch and two single reads time out, 2 seconds each; the activation
  // writes fail, so there is no pause.
  EXPECT_DOUBLE_EQ(processedSeconds(err), 3 * 2.0);
}

TEST(SceneOutput, WindowsAfterTheStopAreNotPrintedFromEarlierAnswers) {
  std::string err;
  json output = capture("application_freezing_before_its_second_window.json",
                        {{"FORM_TESTS_INCLUDE_ALL_AX_WINDOWS", "true"}}, &err);
  ASSERT_EQ(output["elements"].size(), 1u) << output.dump();
  const json& window = output["elements"][0];
  EXPECT_EQ(window["name"], "Budget");
  ASSERT_EQ(window["children"].size(), 1u);
  EXPECT_EQ(window["children"][0]["name"], "OK");
  EXPECT_EQ(err.find("DEBUG WINDOW: 'Report'"), std::string::npos) << err;
}

}  // namespace
}  // namespace tessary
