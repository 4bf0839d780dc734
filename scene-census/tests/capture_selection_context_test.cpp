// What selection-only mode reports: the selected text, the labels of selected
// items, or the focused element, where it is and whose it is.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <ostream>
#include <string>

#include "scene-census/tests/driver_harness.h"

namespace tessary {
namespace {

using nlohmann::json;

struct SelectionCase {
  std::string label;
  std::string focused;   // the focused element, defined inside Ledger's window as "focus"
  std::string expected;  // the printed "selection_context"
  std::string systemWide = R"({"focusedElement": {"ref": "focus"}})";
  std::string ledgerKeys = R"("name": "Ledger", "bundleIdentifier": "com.example.ledger",)";
  std::string ledgerElementKeys = "";
};
void PrintTo(const SelectionCase& c, std::ostream* os) {
  *os << c.label;
}

class SelectionContext : public ::testing::TestWithParam<SelectionCase> {};

TEST_P(SelectionContext, PrintsTheContext) {
  const SelectionCase& c = GetParam();
  auto desktop = fake::loadSceneOrThrow(
      R"({"frontmostApplication": 43, "applications": [
            {"pid": 42, "name": "Clock", "bundleIdentifier": "com.example.clock"},
            {"pid": 43, )" +
      c.ledgerKeys + R"( "element": {"id": "ledger", )" + c.ledgerElementKeys +
      R"( "windows": [{"id": "books", "role": "AXWindow", "title": "Books",
                "frame": [100, 100, 800, 600], "children": [)" +
      c.focused + R"(]}]}}], "systemWide": )" + c.systemWide + "}");
  driver_test::CensusRun run =
      driver_test::runCensus(*desktop, {{"TESSARY_OVERLAY_SELECTION_ONLY", "1"}});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(driver_test::parsedOutput(run),
            json::parse(R"({"selection_context": )" + c.expected + "}"));
}

const std::string kLedgerSource =
    R"("source_app_name": "Ledger", "source_app_bundle_identifier": "com.example.ledger",
       "source_app_pid": 43)";

// Three rows of a list: A, B and A again.
const std::string kRowsABA = R"(
    {"role": "AXRow", "title": "A", "frame": [110, 200, 300, 20]},
    {"role": "AXRow", "title": "B", "frame": [110, 220, 300, 20]},
    {"role": "AXRow", "title": "A", "frame": [110, 240, 320, 20]})";

INSTANTIATE_TEST_SUITE_P(
    Table, SelectionContext,
    ::testing::Values(
        SelectionCase{"selectedTextWithItsBounds",
                      R"({"id": "focus", "role": "AXTextField", "frame": [120, 140, 300, 24],
                          "selectedText": "  net income \n", "selectedTextRange": [0, 14],
                          "parameterized": {"AXBoundsForRange": {"rect": [124.9, 144, 70.5, 16.99]}}})",
                      R"({"source_kind": "selected_text", "text": "net income",
                          "bbox": [124, 144, 195, 160], )" +
                          kLedgerSource + "}"},
        // The text stays, but without text bounds the rectangle is the field's.
        SelectionCase{"selectedTextWithoutBounds",
                      R"({"id": "focus", "role": "AXTextField", "frame": [120, 140, 300, 24],
                          "selectedText": "net", "selectedTextRange": [0, 3]})",
                      R"({"source_kind": "selected_text", "text": "net",
                          "bbox": [120, 140, 420, 164], )" +
                          kLedgerSource + "}"},
        SelectionCase{"selectedTextTakesTheSelectedItemsBounds",
                      R"({"id": "focus", "role": "AXOutline", "frame": [110, 190, 400, 400],
                          "selectedText": "net", "selectedChildren": [)" +
                          kRowsABA + "]}",
                      R"({"source_kind": "selected_text", "text": "net",
                          "bbox": [110, 200, 430, 260], )" +
                          kLedgerSource + "}"},
        // A bare caret asks for no text bounds.
        SelectionCase{"caretWithoutSelection",
                      R"({"id": "focus", "role": "AXTextField", "frame": [120, 140, 300, 24],
                          "selectedText": "", "selectedTextRange": [5, 0],
                          "parameterized": {"AXBoundsForRange": {"rect": [1, 2, 3, 4]}}})",
                      R"({"source_kind": "focused_element", "bbox": [120, 140, 420, 164], )" +
                          kLedgerSource + "}"},
        SelectionCase{"blankSelectedTextFallsBackToItems",
                      R"({"id": "focus", "role": "AXOutline", "frame": [110, 190, 400, 400],
                          "selectedText": " \n\t ", "selectedChildren": [)" +
                          kRowsABA + "]}",
                      R"({"source_kind": "selected_children", "text": "A\nB",
                          "bbox": [110, 200, 430, 260], )" +
                          kLedgerSource + "}"},
        // Title, then description, text value and role description; a number
        // is no label. Items without geometry leave the element's rectangle.
        SelectionCase{"itemLabelsInOrderOfPreference",
                      R"({"id": "focus", "role": "AXTable", "frame": [110, 190, 400, 400],
                          "selectedChildren": [
                            {"role": "AXRow", "title": " ", "description": "Checking", "value": "ignored"},
                            {"role": "AXRow", "attributes": {"AXValue": 5}, "roleDescription": "row"},
                            {"role": "AXRow", "title": {"other": "AXAttributedString"}, "value": " Savings "},
                            {"role": "AXRow"}]})",
                      R"({"source_kind": "selected_children", "text": "Checking\nrow\nSavings",
                          "bbox": [110, 190, 510, 590], )" +
                          kLedgerSource + "}"},
        SelectionCase{"itemsWithoutLabels",
                      R"({"id": "focus", "role": "AXTable", "frame": [110, 190, 400, 400],
                          "selectedChildren": [
                            {"role": "AXRow", "frame": [110, 200, 300, 20]},
                            {"role": "AXRow", "frame": [100, 260, 300, 0]},
                            {"role": "AXRow", "frame": [120, 280, 350, 20]}]})",
                      R"({"source_kind": "focused_element", "bbox": [110, 200, 470, 300], )" +
                          kLedgerSource + "}"},
        SelectionCase{"nothingSelectedWithoutGeometry",
                      R"({"id": "focus", "role": "AXGroup", "selectedChildren": []})", "null"},
        SelectionCase{"zeroSizedElement",
                      R"({"id": "focus", "role": "AXGroup", "frame": [120, 140, 0, 24]})", "null"},
        SelectionCase{"sourceWithoutBundleIdentifier",
                      R"({"id": "focus", "role": "AXButton", "frame": [120, 140, 80, 24]})",
                      R"({"source_kind": "focused_element", "bbox": [120, 140, 200, 164],
                          "source_app_name": "Ledger", "source_app_pid": 43})",
                      R"({"focusedElement": {"ref": "focus"}})", R"("name": "Ledger",)"},
        SelectionCase{"sourceWithoutName",
                      R"({"id": "focus", "role": "AXButton", "frame": [120, 140, 80, 24]})",
                      R"({"source_kind": "focused_element", "bbox": [120, 140, 200, 164],
                          "source_app_pid": 43})",
                      R"({"focusedElement": {"ref": "focus"}})", ""},
        // A focused element of a process that is not running has no source.
        SelectionCase{
            "elementOfAnUnlistedProcess",
            R"({"id": "focus", "pid": 99, "role": "AXButton", "frame": [120, 140, 80, 24]})",
            R"({"source_kind": "focused_element", "bbox": [120, 140, 200, 164]})"},
        // Without a system-wide focus, the frontmost application's focus.
        SelectionCase{"focusOfTheFrontmostApplication",
                      R"({"id": "focus", "role": "AXTextField", "frame": [120, 140, 300, 24],
                          "selectedText": "net"})",
                      R"({"source_kind": "selected_text", "text": "net",
                          "bbox": [120, 140, 420, 164], )" +
                          kLedgerSource + "}",
                      "{}", R"("name": "Ledger", "bundleIdentifier": "com.example.ledger",)",
                      R"("focusedElement": {"ref": "focus"},)"},
        SelectionCase{"frontmostApplicationWithoutFocus",
                      R"({"id": "focus", "role": "AXTextField", "frame": [120, 140, 300, 24],
                          "selectedText": "net"})",
                      "null", "{}"},
        // The system-wide focus answered with something that is no element.
        SelectionCase{"systemWideFocusNotAnElement",
                      R"({"id": "focus", "role": "AXTextField", "frame": [120, 140, 300, 24],
                          "selectedText": "net"})",
                      R"({"source_kind": "selected_text", "text": "net",
                          "bbox": [120, 140, 420, 164], )" +
                          kLedgerSource + "}",
                      R"({"attributes": {"AXFocusedUIElement": "focus"}})",
                      R"("name": "Ledger", "bundleIdentifier": "com.example.ledger",)",
                      R"("focusedElement": {"ref": "focus"},)"}),
    [](const ::testing::TestParamInfo<SelectionCase>& info) { return info.param.label; });

TEST(SelectionContext, BareCaretAsksForNoTextBounds) {
  auto desktop = fake::loadSceneOrThrow(R"({"applications": [{"pid": 43, "element": {"windows": [
      {"id": "field", "role": "AXTextField", "frame": [120, 140, 300, 24],
       "selectedTextRange": [5, 0], "parameterized": {"AXBoundsForRange": {"rect": [1, 2, 3, 4]}}}]}}],
      "systemWide": {"focusedElement": {"ref": "field"}}})");
  driver_test::runCensus(*desktop, {{"TESSARY_OVERLAY_SELECTION_ONLY", "1"}});
  EXPECT_EQ(driver_test::countCalls(*desktop, "copyParameterizedAttributeValue"), 0u);
}

}  // namespace
}  // namespace tessary
