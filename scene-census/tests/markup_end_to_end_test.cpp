// The program run as the host runs it, on scenes that each show one family of
// rules: clipping by the visible rectangles of a partly covered window,
// containers visible through their children, culling of long tables, the
// markup's tags, escaping and character counts, and the form-tests windows.
// Every expectation is worked out from the rules, not taken from a run.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "common/stable_identifier.h"
#include "scene-census/tests/driver_harness.h"
#include "testsupport/paths.h"
#include "testsupport/run_binary.h"

namespace tessary {
namespace {

using nlohmann::json;

struct Capture {
  json output;
  std::string err;
};

Capture capture(const std::string& scene, std::map<std::string, std::string> environment = {}) {
  environment["TESSARY_SIM_DESKTOP"] = testing::sourcePath("scene-census/tests/scenes/" + scene);
  testing::BinaryRun run = testing::runBinary("scene-census", {}, environment);
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_TRUE(!run.out.empty() && run.out.back() == '\n') << run.out;
  Capture result{json::parse(run.out, nullptr, false), run.err};
  EXPECT_FALSE(result.output.is_discarded()) << run.out;
  return result;
}

// The identifier of an element with a native identifier: role and that alone.
std::string axid(const std::string& role, const std::string& native) {
  return stableElementIdentifier(role, native, std::nullopt, std::nullopt, std::nullopt,
                                 std::nullopt, std::nullopt, std::nullopt);
}

// Expected markup names identifiers as "{AXRole|native identifier}".
std::string withIdentifiers(std::string text) {
  for (size_t open = text.find('{'); open != std::string::npos; open = text.find('{', open)) {
    const size_t bar = text.find('|', open);
    const size_t close = text.find('}', open);
    const std::string id =
        axid(text.substr(open + 1, bar - open - 1), text.substr(bar + 1, close - bar - 1));
    text.replace(open, close - open + 1, id);
    open += id.size();
  }
  return text;
}

std::optional<std::string> optionalText(const json& element, const char* key) {
  if (!element.contains(key)) return std::nullopt;
  return element[key].get<std::string>();
}

// Expected element objects name their identifier by how it is made:
// "axid:<native identifier>", or "?" for one made from the object's own role,
// texts and box. This fills in the identifiers, down the whole tree.
void resolveIdentifiers(json& element) {
  const std::string id = element["id"];
  const std::string role = element["role"];
  if (id.rfind("axid:", 0) == 0) {
    element["id"] = axid(role, id.substr(5));
  } else if (id == "?") {
    std::optional<Box> bbox;
    if (element.contains("bbox")) bbox = element["bbox"].get<Box>();
    element["id"] = stableElementIdentifier(
        role, std::nullopt, bbox, std::nullopt, std::nullopt, optionalText(element, "name"),
        optionalText(element, "description"), optionalText(element, "role_description"));
  }
  for (json& child : element["children"])
    resolveIdentifiers(child);
}

json expectedElements(const std::string& text) {
  json elements = json::parse(text);
  for (json& element : elements)
    resolveIdentifiers(element);
  return elements;
}

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
}

std::string repeated(const std::string& piece, int count) {
  std::string text;
  for (int i = 0; i < count; ++i)
    text += piece;
  return text;
}

// A window behind two others: its visible part is three rectangles, every
// element is clipped against them independently of its ancestors, and an
// element takes the largest of its pieces.
class WindowBehindTwoOthers : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    result = new Capture(
        capture("window_behind_two_others.json", {{"TESSARY_OVERLAY_TARGET_PID", "10"}}));
  }
  static void TearDownTestSuite() { delete result; }
  static Capture* result;
};
Capture* WindowBehindTwoOthers::result = nullptr;

TEST_F(WindowBehindTwoOthers, TheVisibleRectanglesAreWhatTheNoteAndTheTimerLeave) {
  // The window [100, 100, 900, 700] minus the note [600, 50, 1000, 350]
  // gives the band below the note and the part left of it; the timer
  // [50, 500, 350, 800] then cuts the band into its upper part and the part
  // right of the timer.
  EXPECT_TRUE(driver_test::hasLine(result->err,
                                   "DEBUG WINDOW: 'Route planner' has 3 visible rects (screen "
                                   "coords): [[100, 350, 900, 500], [350, 500, 900, 700], "
                                   "[100, 100, 600, 350]]"))
      << result->err;
}

TEST_F(WindowBehindTwoOthers, MarkupHoldsOnlyWhatShowsThroughTheGaps) {
  const std::string expected =
      "<window name=\"Route planner\">\n"
      "  <button id=\"{AXButton|back}\" name=\"Back\"/>\n"
      "  <div alt=\"Summary\">\n"
      "    <text>Stops: 3</text>\n"
      "    <text>Distance 12 km</text>\n"
      "  </div>\n"
      "  <div name=\"Layers\">\n"
      "    <button id=\"{AXButton|traffic}\" name=\"Traffic\"/>\n"
      "  </div>\n"
      "  <div>\n"
      "    <button id=\"{AXButton|zoom-in}\" name=\"Zoom in\"/>\n"
      "  </div>\n"
      "</window>\n";
  EXPECT_EQ(result->output["formatted_text"], withIdentifiers(expected));
}

TEST_F(WindowBehindTwoOthers, ElementsWithTheirLargestVisiblePieces) {
  // Child offsets are the window's position (100, 100); every visible box
  // below is printed back in screen coordinates.
  //  - the window's largest piece is the one left of the note (125000 square
  //    points against 120000 and 110000);
  //  - the summary spans all three rectangles and keeps the band below the
  //    note; its texts are clipped on their own: one in the band, one under
  //    the timer, one right of the timer;
  //  - "Edge" only touches the note's left edge, which gives no piece;
  //  - the layers panel lies wholly under the note, so its children are read
  //    through the box the window hands down, and the button below the note
  //    makes it visible with that box (the window's visible box, window-
  //    relative [0, 0, 500, 250]);
  //  - the strip is one point high, too small to count, and is made visible
  //    by its button while keeping its own box;
  //  - the weather panel and its text both lie under the timer and stay
  //    invisible.
  const json expected = expectedElements(R"([{
    "id": "?", "name": "Route planner", "role": "AXWindow",
    "position": "100.00;100.00", "size": "800;600", "enabled": false, "focused": false,
    "bbox": [100, 100, 900, 700], "visible_bbox": [100, 100, 600, 350], "visible": true,
    "app_name": "Atlas",
    "children": [
      {"id": "axid:back", "name": "Back", "role": "AXButton",
       "position": "110.00;110.00", "size": "60;24", "enabled": false, "focused": false,
       "bbox": [110, 110, 170, 134], "visible_bbox": [110, 110, 170, 134], "visible": true,
       "children": []},
      {"id": "?", "role": "AXStaticText", "value": "Under the note",
       "position": "700.00;150.00", "size": "100;20", "enabled": false, "focused": false,
       "bbox": [700, 150, 800, 170], "visible": false, "children": []},
      {"id": "?", "role": "AXStaticText", "value": "Under the timer",
       "position": "120.00;600.00", "size": "100;20", "enabled": false, "focused": false,
       "bbox": [120, 600, 220, 620], "visible": false, "children": []},
      {"id": "?", "role": "AXStaticText", "value": "Edge",
       "position": "600.00;120.00", "size": "80;20", "enabled": false, "focused": false,
       "bbox": [600, 120, 680, 140], "visible": false, "children": []},
      {"id": "?", "role": "AXGroup", "description": "Summary",
       "position": "120.00;300.00", "size": "760;250", "enabled": false, "focused": false,
       "bbox": [120, 300, 880, 550], "visible_bbox": [120, 350, 880, 500], "visible": true,
       "children": [
         {"id": "?", "role": "AXStaticText", "value": "Stops: 3",
          "position": "130.00;360.00", "size": "100;20", "enabled": false, "focused": false,
          "bbox": [130, 360, 230, 380], "visible_bbox": [130, 360, 230, 380], "visible": true,
          "children": []},
         {"id": "?", "role": "AXStaticText", "value": "Hidden total",
          "position": "130.00;520.00", "size": "100;20", "enabled": false, "focused": false,
          "bbox": [130, 520, 230, 540], "visible": false, "children": []},
         {"id": "?", "role": "AXStaticText", "value": "Distance 12 km",
          "position": "400.00;520.00", "size": "150;20", "enabled": false, "focused": false,
          "bbox": [400, 520, 550, 540], "visible_bbox": [400, 520, 550, 540], "visible": true,
          "children": []}]},
      {"id": "?", "name": "Layers", "role": "AXGroup",
       "position": "650.00;150.00", "size": "200;100", "enabled": false, "focused": false,
       "bbox": [650, 150, 850, 250], "visible_bbox": [100, 100, 600, 350], "visible": true,
       "children": [
         {"id": "axid:bikes", "name": "Bikes", "role": "AXCheckBox",
          "position": "660.00;200.00", "size": "80;20", "enabled": false, "focused": false,
          "bbox": [660, 200, 740, 220], "visible": false, "children": []},
         {"id": "axid:traffic", "name": "Traffic", "role": "AXButton",
          "position": "650.00;360.00", "size": "100;24", "enabled": false, "focused": false,
          "bbox": [650, 360, 750, 384], "visible_bbox": [650, 360, 750, 384], "visible": true,
          "children": []}]},
      {"id": "?", "role": "AXGroup",
       "position": "110.00;140.00", "size": "300;1", "enabled": false, "focused": false,
       "bbox": [110, 140, 410, 141], "visible_bbox": [110, 140, 410, 141], "visible": true,
       "children": [
         {"id": "axid:zoom-in", "name": "Zoom in", "role": "AXButton",
          "position": "110.00;142.00", "size": "80;24", "enabled": false, "focused": false,
          "bbox": [110, 142, 190, 166], "visible_bbox": [110, 142, 190, 166], "visible": true,
          "children": []}]},
      {"id": "?", "role": "AXGroup", "description": "Weather",
       "position": "150.00;550.00", "size": "150;100", "enabled": false, "focused": false,
       "bbox": [150, 550, 300, 650], "visible": false,
       "children": [
         {"id": "?", "role": "AXStaticText", "value": "Rain",
          "position": "160.00;560.00", "size": "100;20", "enabled": false, "focused": false,
          "bbox": [160, 560, 260, 580], "visible": false, "children": []}]}
    ]}])");
  EXPECT_EQ(result->output["elements"], expected)
      << json::diff(expected, result->output["elements"]).dump(1);
}

// Two tables running past the window's top and bottom edges (screen y 50 to
// 650), rows 20 points high with row i at y 10 + 20 i. The 51-row table keeps
// only the rows that overlap or touch its visible box, window-relative
// [10, 0, 310, 600]: rows 1 to 32, of which 1 and 32 only touch the window's
// edges and are built but not visible. The 50-row table builds all its rows.
class TablesOf50And51Rows : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { result = new Capture(capture("tables_of_50_and_51_rows.json")); }
  static void TearDownTestSuite() { delete result; }
  static Capture* result;

  static json row(const std::string& title, int i, int x) {
    const int y = 10 + 20 * i;
    const bool visible = y >= 50 && y + 20 <= 650;
    json element = {
        {"id", "?"},          {"name", title + " " + std::to_string(i)},
        {"role", "AXRow"},    {"position", std::to_string(x) + ".00;" + std::to_string(y) + ".00"},
        {"size", "300;20"},   {"enabled", false},
        {"focused", false},   {"bbox", {x, y, x + 300, y + 20}},
        {"visible", visible}, {"children", json::array()}};
    if (visible) element["visible_bbox"] = element["bbox"];
    resolveIdentifiers(element);
    return element;
  }

  static const json& table(size_t index) {
    return result->output["elements"][0]["children"][index];
  }
};
Capture* TablesOf50And51Rows::result = nullptr;

TEST_F(TablesOf50And51Rows, FiftyOneRowsAreCulledToThoseTouchingTheVisibleBox) {
  json expected = json::array();
  for (int i = 1; i <= 32; ++i)
    expected.push_back(row("Message", i, 110));
  EXPECT_EQ(table(0)["description"], "Inbox");
  EXPECT_EQ(table(0)["visible_bbox"], json({110, 50, 410, 650}));
  EXPECT_EQ(table(0)["children"], expected) << json::diff(expected, table(0)["children"]).dump(1);
}

TEST_F(TablesOf50And51Rows, FiftyRowsAreAllBuilt) {
  json expected = json::array();
  for (int i = 0; i < 50; ++i)
    expected.push_back(row("Draft", i, 450));
  EXPECT_EQ(table(1)["description"], "Outbox");
  EXPECT_EQ(table(1)["children"], expected) << json::diff(expected, table(1)["children"]).dump(1);
}

TEST_F(TablesOf50And51Rows, MarkupListsTheRowsOnScreen) {
  std::string expected = "<window name=\"Mail\">\n  <table alt=\"Inbox\">\n";
  for (int i = 2; i <= 31; ++i)
    expected += "    <tr name=\"Message " + std::to_string(i) + "\"/>\n";
  expected += "  </table>\n  <table alt=\"Outbox\">\n";
  for (int i = 2; i <= 31; ++i)
    expected += "    <tr name=\"Draft " + std::to_string(i) + "\"/>\n";
  expected += "  </table>\n</window>\n";
  EXPECT_EQ(result->output["formatted_text"], expected);
}

TEST(MarkupEndToEnd, TagsAttributesAndEscaping) {
  Capture result = capture("markup_tags_and_escaping.json");
  // Wrapper chains collapse to the described group and to the scroll area
  // (the wrapper with the empty title has a second child, but below the
  // window); headings take levels 1 to 6 from whole numbers only and write
  // their untrimmed title; leaf tags drop their children; the empty group is
  // left out; date and time fields write no content.
  const std::string expected =
      "<window name=\"Inspector &amp; &lt;Settings&gt;\">\n"
      "  <div alt=\"Inspector\">\n"
      "    <text>Width</text>\n"
      "    <text>Height</text>\n"
      "  </div>\n"
      "  <div>\n"
      "    <button id=\"{AXButton|bold}\" name=\"Bold\"/>\n"
      "    <button id=\"{AXButton|italic}\" name=\"Italic\"/>\n"
      "  </div>\n"
      "  <h2>Intro</h2>\n"
      "  <h>Zero</h>\n"
      "  <h>Seven</h>\n"
      "  <h3>Almost four</h3>\n"
      "  <h>Text level</h>\n"
      "  <h1>  Q&amp;A &lt;FAQ&gt;  </h1>\n"
      "  <h6></h6>\n"
      "  <text>2.5</text>\n"
      "  <button id=\"{AXButton|run}\" name=\"Run\">Go</button>\n"
      "  <checkbox id=\"{AXCheckBox|agree}\" name=\"I agree\" checked/>\n"
      "  <checkbox id=\"{AXCheckBox|newsletter}\" name=\"Newsletter\"/>\n"
      "  <radio id=\"{AXRadioButton|express}\" name=\"Express\" checked/>\n"
      "  <slider id=\"{AXSlider|volume}\" name=\"Volume\" value=\"0.5\"/>\n"
      "  <progress name=\"Upload\" value=\"42\"/>\n"
      "  <date id=\"{AXDateField|due}\" name=\"Due\"/>\n"
      "  <time id=\"{AXTimeField|start-time}\" name=\"time field\"/>\n"
      "  <button id=\"{AXButton|save-draft}\" name=\"Save &quot;draft&quot; &amp; &lt;close&gt; "
      "it&#39;s\"/>\n"
      "  <input id=\"{AXTextField|query}\" name=\"Query\" alt=\"Use &quot;quotes&quot; &amp; "
      "&#39;apostrophes&#39;\">"
      "a &lt; b &amp;&amp; c &gt; &#39;d&#39; &amp;amp;</input>\n"
      "</window>\n";
  EXPECT_EQ(result.output["formatted_text"], withIdentifiers(expected));

  // The element list keeps everything the markup leaves out, with texts as
  // the application gave them.
  const json& children = result.output["elements"][0]["children"];
  std::string roles;
  for (const json& child : children)
    roles += child["role"].get<std::string>() + " ";
  EXPECT_EQ(roles,
            "AXGroup AXGroup AXHeading AXHeading AXHeading AXHeading AXHeading AXHeading AXHeading "
            "AXGroup AXStaticText AXButton AXCheckBox AXCheckBox AXRadioButton AXSlider "
            "AXProgressIndicator AXDateField AXTimeField AXButton AXTextField ");
  ASSERT_EQ(children.size(), 21u);
  EXPECT_EQ(children[1]["name"], "");
  EXPECT_EQ(children[1]["children"][1]["value"], "Below the window");
  EXPECT_EQ(children[1]["children"][1]["visible"], false);
  EXPECT_EQ(children[5]["value"], "3.9");
  EXPECT_EQ(children[7]["name"], "  Q&A <FAQ>  ");
  EXPECT_EQ(children[7]["children"][0]["name"], "More");
  EXPECT_EQ(children[9]["visible"], true) << "the empty group is listed";
  EXPECT_EQ(children[15]["value"], "0.5");
  EXPECT_EQ(children[15]["children"][0]["role"], "AXValueIndicator");
  EXPECT_EQ(children[20]["value"], "a < b && c > 'd' &amp;");
}

TEST(MarkupEndToEnd, NameLengthsCountUserPerceivedCharacters) {
  Capture result = capture("grapheme_names.json");
  // Three characters of 7, 2 and 2 code points (25, 8 and 3 bytes).
  const std::string three =
      "\U0001F468\u200D\U0001F469\u200D\U0001F467\u200D\U0001F466"
      "\U0001F1EB\U0001F1F7"
      "e\u0301";
  const std::string hundred = repeated(three, 33) + "&";  // 364 code points
  const std::string hundredOne = repeated(three, 33) + "&!";
  const std::string hundredEscaped = repeated(three, 33) + "&amp;";
  const std::string hundredOneEscaped = repeated(three, 33) + "&amp;!";
  // 100 characters fit the name attribute; 101 do not, and then a button
  // falls back to its role description, a text has no name, and a group or
  // scroll area without other content writes the name as content. The padded
  // group's title is 101 characters untrimmed and 100 trimmed: both.
  std::string expected =
      "<window name=\"Names\">\n"
      "  <button id=\"{AXButton|hundred}\" name=\"@100@\"/>\n"
      "  <button id=\"{AXButton|hundred-one}\" name=\"button\"/>\n"
      "  <text>Caption</text>\n"
      "  <div name=\"@100@\"/>\n"
      "  <div>@101@</div>\n"
      "  <div name=\"@100@\"> @100@</div>\n"
      "  <div>Status</div>\n"
      "</window>\n";
  replaceAll(expected, "@100@", hundredEscaped);
  replaceAll(expected, "@101@", hundredOneEscaped);
  EXPECT_EQ(result.output["formatted_text"], withIdentifiers(expected));

  const json& children = result.output["elements"][0]["children"];
  ASSERT_EQ(children.size(), 7u);
  EXPECT_EQ(children[0]["name"], hundred);
  EXPECT_EQ(children[1]["name"], hundredOne);
  EXPECT_EQ(children[5]["name"], " " + hundred);
}

// The form-tests variables through the program: every accessibility window
// of the target's application except "Background" is captured, each clipped
// by its own visible rectangles; form-tests mode also leaves the window
// server's "Background" window out of the index.
struct FormWindowsCase {
  std::string label;
  std::map<std::string, std::string> environment;
  size_t indexedWindows;
  bool includeAll;
  std::vector<std::string> roots;
  bool withTerms;  // the "Terms" window leads the markup
};
void PrintTo(const FormWindowsCase& c, std::ostream* os) {
  *os << c.label;
}

class FormWindows : public ::testing::TestWithParam<FormWindowsCase> {};

TEST_P(FormWindows, CapturedWindowsAndTheirMarkup) {
  const FormWindowsCase& c = GetParam();
  Capture result = capture("form_windows.json", c.environment);
  EXPECT_TRUE(driver_test::hasLine(
      result.err, "Built visibility index with " + std::to_string(c.indexedWindows) + " windows"))
      << result.err;
  EXPECT_EQ(driver_test::hasLine(result.err,
                                 "DEBUG: FORM_TESTS_INCLUDE_ALL_AX_WINDOWS active, processing all "
                                 "visible windows for PID 70"),
            c.includeAll)
      << result.err;
  EXPECT_EQ(driver_test::rootNames(result.output), c.roots);

  // "Terms" shows its top and bottom edges and its left part beside
  // "Sign up"; its "I agree" box lies under "Sign up".
  std::string expected;
  if (c.withTerms) {
    expected +=
        "<window name=\"Terms\">\n"
        "  <text>Section 1</text>\n"
        "  <button id=\"{AXButton|accept}\" name=\"Accept\"/>\n"
        "</window>\n";
  }
  expected +=
      "<window name=\"Sign up\">\n"
      "  <input id=\"{AXTextField|email}\" name=\"Email\"/>\n"
      "  <button id=\"{AXButton|create}\" name=\"Create account\"/>\n"
      "</window>\n";
  EXPECT_EQ(result.output["formatted_text"], withIdentifiers(expected));
}

INSTANTIATE_TEST_SUITE_P(
    Table, FormWindows,
    ::testing::Values(
        FormWindowsCase{"notSet", {}, 3, false, {"Sign up"}, false},
        FormWindowsCase{"includeAll",
                        {{"FORM_TESTS_INCLUDE_ALL_AX_WINDOWS", "true"}},
                        3,
                        true,
                        {"Terms", "Sign up"},
                        true},
        FormWindowsCase{
            "formTestsMode", {{"FORM_TESTS_MODE", "true"}}, 2, true, {"Terms", "Sign up"}, true}),
    [](const ::testing::TestParamInfo<FormWindowsCase>& info) { return info.param.label; });

}  // namespace
}  // namespace tessary
