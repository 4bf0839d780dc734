// Selection-only mode through the program: the printed object for each kind
// of selection context, and JSON null when there is none.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "testsupport/paths.h"
#include "testsupport/run_binary.h"

namespace tessary {
namespace {

using nlohmann::json;

struct SelectionCase {
  std::string label;
  std::string scene;  // under scene-census/tests/scenes/selection/
  std::string expected;
};
void PrintTo(const SelectionCase& c, std::ostream* os) {
  *os << c.label;
}

class SelectionOnlyProgram : public ::testing::TestWithParam<SelectionCase> {};

TEST_P(SelectionOnlyProgram, PrintsTheContextObject) {
  const SelectionCase& c = GetParam();
  testing::BinaryRun run =
      testing::runBinary("scene-census", {},
                         {{"TESSARY_SIM_DESKTOP",
                           testing::sourcePath("scene-census/tests/scenes/selection/" + c.scene)},
                          {"TESSARY_OVERLAY_SELECTION_ONLY", "1"}});
  EXPECT_EQ(run.exitStatus, 0);
  // Nothing but the banner: no window is listed in this mode.
  EXPECT_EQ(run.err, "===== BINARY VERSION: 2026-03-08 22:20 - STABLE GEOMETRY IDS =====\n");
  ASSERT_FALSE(run.out.empty());
  EXPECT_EQ(run.out.back(), '\n');
  json output = json::parse(run.out, nullptr, false);
  ASSERT_FALSE(output.is_discarded()) << run.out;
  EXPECT_EQ(output, json::parse(c.expected)) << run.out;
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, SelectionOnlyProgram,
    ::testing::Values(
        // Trimmed selected text; its bounds (210.6, 300.2, 120.9 x 18.5)
        // truncated edge by edge.
        SelectionCase{"selectedText", "selected_text.json", R"({"selection_context": {
            "source_kind": "selected_text", "source_app_name": "Writer",
            "source_app_bundle_identifier": "com.example.writer", "source_app_pid": 80,
            "text": "quarterly report", "bbox": [210, 300, 331, 318]}})"},
        // Focus found through the frontmost application; the repeated label
        // once; the unlabelled row still widens the box to x 90.5 and
        // y 320.9; no bundle identifier.
        SelectionCase{"selectedChildren", "selected_rows.json", R"({"selection_context": {
            "source_kind": "selected_children", "source_app_name": "Files",
            "source_app_pid": 81, "text": "Invoices\nReceipts",
            "bbox": [90, 200, 400, 320]}})"},
        // A caret: no text, the field's own rectangle (300.7, 40.2, 250 x 22).
        SelectionCase{"focusedElement", "caret_in_field.json", R"({"selection_context": {
            "source_kind": "focused_element", "source_app_name": "Browser",
            "source_app_bundle_identifier": "com.example.browser", "source_app_pid": 82,
            "bbox": [300, 40, 550, 62]}})"},
        SelectionCase{"none", "focus_without_geometry.json", R"({"selection_context": null})"}),
    [](const ::testing::TestParamInfo<SelectionCase>& info) { return info.param.label; });

}  // namespace
}  // namespace tessary
