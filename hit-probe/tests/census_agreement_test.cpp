// scene-census and hit-probe on the same desktop: every actionable element the
// capture shows is found again under its own box, and an element hidden behind
// another window is reported as blocked by what the capture of that window
// shows in front.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <optional>

#include "hit-probe/reporting_element.h"
#include "hit-probe/tests/probe_run.h"
#include "testsupport/run_binary.h"

namespace tessary::hitprobe {
namespace {

using tessary::testing::BinaryRun;
using tessary::testing::runBinary;

struct Desktop {
  std::string scene;
  std::string overlayPid;
};

nlohmann::json capture(const Desktop& desktop, const std::string& targetPid = "") {
  std::map<std::string, std::string> environment{
      {"TESSARY_SIM_DESKTOP", desktop.scene}, {"TESSARY_OVERLAY_EXCLUDED_PID", desktop.overlayPid}};
  if (!targetPid.empty()) environment["TESSARY_OVERLAY_TARGET_PID"] = targetPid;
  BinaryRun run = runBinary("scene-census", {}, environment);
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  return nlohmann::json::parse(run.out, nullptr, /*allow_exceptions=*/false);
}

void forEachElement(const nlohmann::json& elements,
                    const std::function<void(const nlohmann::json&)>& visit) {
  if (!elements.is_array()) return;
  for (const nlohmann::json& element : elements) {
    visit(element);
    forEachElement(element.value("children", nlohmann::json::array()), visit);
  }
}

bool isVisibleActionable(const nlohmann::json& element) {
  return isActionableRole(element.value("role", "")) && element.value("visible", false) &&
         element.contains("visible_bbox") && element.contains("bbox");
}

bool isHiddenActionable(const nlohmann::json& element) {
  return isActionableRole(element.value("role", "")) && !element.value("visible", true) &&
         element.contains("bbox");
}

bool boxContains(const nlohmann::json& box, int64_t x, int64_t y) {
  return box[0].get<int64_t>() <= x && x < box[2].get<int64_t>() && box[1].get<int64_t>() <= y &&
         y < box[3].get<int64_t>();
}

// Probes the element's captured box as the host does: x, y, width, height.
nlohmann::json probe(const Desktop& desktop, const nlohmann::json& element) {
  const nlohmann::json& box = element["bbox"];
  const int64_t left = box[0], top = box[1], right = box[2], bottom = box[3];
  BinaryRun run =
      runBinary("hit-probe",
                {element["id"].get<std::string>(), std::to_string(left), std::to_string(top),
                 std::to_string(right - left), std::to_string(bottom - top)},
                {{"TESSARY_SIM_DESKTOP", desktop.scene},
                 {"TESSARY_OVERLAY_EXCLUDED_PID", desktop.overlayPid}});
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.err, "");
  return testing::parseReportLine(run.out);
}

// Returns how many elements were probed.
int expectEveryVisibleActionableElementMatches(const Desktop& desktop,
                                               const std::string& targetPid = "") {
  nlohmann::json captured = capture(desktop, targetPid);
  int probed = 0;
  forEachElement(captured["elements"], [&](const nlohmann::json& element) {
    if (!isVisibleActionable(element)) return;
    ++probed;
    nlohmann::json report = probe(desktop, element);
    SCOPED_TRACE(element.dump());
    EXPECT_EQ(report.value("status", ""), "match") << report.dump();
    if (report.value("status", "") == "match") {
      EXPECT_TRUE(boxContains(element["bbox"], report["x"], report["y"])) << report.dump();
    }
  });
  return probed;
}

// Each hidden actionable element of the back capture is blocked by an element
// that the front capture holds under the blocked point, with the same box.
int expectHiddenElementsAreBlockedByTheFrontCapture(const Desktop& desktop,
                                                    const std::string& backPid,
                                                    const std::string& frontPid) {
  nlohmann::json back = capture(desktop, backPid);
  nlohmann::json front = capture(desktop, frontPid);
  int probed = 0;
  forEachElement(back["elements"], [&](const nlohmann::json& hidden) {
    if (!isHiddenActionable(hidden)) return;
    ++probed;
    SCOPED_TRACE(hidden.dump());
    nlohmann::json report = probe(desktop, hidden);
    ASSERT_EQ(report.value("status", ""), "blocked") << report.dump();
    const nlohmann::json& hit = report["hit"];
    int inFront = 0;
    forEachElement(front["elements"], [&](const nlohmann::json& element) {
      if (element["id"] == hit["id"] && element.contains("bbox") &&
          boxContains(element["bbox"], report["x"], report["y"])) {
        ++inFront;
        EXPECT_EQ(element["bbox"], hit["bbox"]);
        EXPECT_EQ(element["role"], hit["role"]);
      }
    });
    EXPECT_GE(inFront, 1) << "not in the front capture: " << report.dump();
  });
  return probed;
}

const Desktop kFormDesktop{testing::scenePath("census_and_probe_agree.json"), "900"};

TEST(CensusAgreement, EveryActionableControlOfTheFormIsFoundUnderItsBox) {
  // Buttons with a text inside and a padded native identifier, menu and popup
  // buttons, text field, combo box, check box, radio buttons and a text area.
  EXPECT_EQ(expectEveryVisibleActionableElementMatches(kFormDesktop, "42"), 10);
}

TEST(CensusAgreement, ButtonUnderThePaletteIsBlockedByTheSwatches) {
  EXPECT_EQ(expectHiddenElementsAreBlockedByTheFrontCapture(kFormDesktop, "42", "43"), 1);
}

std::optional<Desktop> demoDesktop() {
  std::string scene = tessary::testing::sourcePath("demo/desktop.json");
  if (!std::filesystem::exists(scene)) return std::nullopt;
  return Desktop{scene, "900"};
}

TEST(CensusAgreement, EveryActionableControlOfTheDemoBrowserIsFoundUnderItsBox) {
  std::optional<Desktop> demo = demoDesktop();
  if (!demo) GTEST_SKIP() << "no demo desktop";
  EXPECT_GE(expectEveryVisibleActionableElementMatches(*demo), 10);
}

TEST(CensusAgreement, DemoNotesControlsUnderTheBrowserAreBlockedByIt) {
  std::optional<Desktop> demo = demoDesktop();
  if (!demo) GTEST_SKIP() << "no demo desktop";
  // Notes (502) lies mostly under the browser (501).
  EXPECT_GE(expectHiddenElementsAreBlockedByTheFrontCapture(*demo, "502", "501"), 1);
}

}  // namespace
}  // namespace tessary::hitprobe

namespace tessary::hitprobe {
namespace {

TEST(CensusAgreement, ControlsHangingOnOneIdentifierAttributeAreFoundUnderTheirBoxes) {
  const Desktop desktop{testing::scenePath("controls_hanging_on_one_attribute.json"), ""};
  EXPECT_EQ(expectEveryVisibleActionableElementMatches(desktop), 4);
}

}  // namespace
}  // namespace tessary::hitprobe
