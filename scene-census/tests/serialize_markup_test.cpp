// The markup text: tags, attributes, content, headings, leaf tags, wrapper
// collapse, omitted containers, escaping and the character-count rules.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scene-census/element/ui_element.h"
#include "scene-census/tests/element_tree_builder.h"

namespace tessary {
namespace {

using testing::TestNode;
using testing::TreeBuilder;
using testing::withIds;

std::string repeated(const std::string& piece, int count) {
  std::string text;
  for (int i = 0; i < count; ++i)
    text += piece;
  return text;
}

struct MarkupCase {
  const char* what;
  TestNode tree;
  int indent;
  std::string expected;  // "{ROLE|AXID}" stands for that element's identifier
};

std::vector<MarkupCase> markupCases() {
  const std::string long150 = repeated("Long name ", 15);
  const std::string hundred = repeated("a", 100);
  return {
      {"trimmed name on a button, indent 1",
       {"AXButton", {{"AXTitle", "  OK "}, {"AXIdentifier", "ok"}}},
       1,
       "  <button id=\"{AXButton|ok}\" name=\"OK\"/>\n"},
      {"button falls back to its role description",
       {"AXButton", {{"AXRoleDescription", " button "}, {"AXIdentifier", "b"}}},
       0,
       "<button id=\"{AXButton|b}\" name=\"button\"/>\n"},
      {"static text has no role-description fallback and no id",
       {"AXStaticText", {{"AXRoleDescription", "text"}, {"AXValue", "Hello"}}},
       0,
       "<text>Hello</text>\n"},
      {"static text without anything is still written", {"AXStaticText"}, 2, "    <text/>\n"},
      {"button with a text value has content",
       {"AXButton", {{"AXTitle", "Send"}, {"AXValue", "Send now"}, {"AXIdentifier", "send"}}},
       0,
       "<button id=\"{AXButton|send}\" name=\"Send\">Send now</button>\n"},
      {"text field with value and description",
       {"AXTextField",
        {{"AXTitle", "Email"},
         {"AXDescription", "Your address"},
         {"AXValue", "a@b.c"},
         {"AXIdentifier", "email"}}},
       0,
       "<input id=\"{AXTextField|email}\" name=\"Email\" alt=\"Your address\">a@b.c</input>\n"},
      {"numbers as content", {"AXStaticText", {{"AXValue", 42}}}, 0, "<text>42</text>\n"},
      {"boolean as content", {"AXStaticText", {{"AXValue", true}}}, 0, "<text>1</text>\n"},
      {"a point value gives no content",
       {"AXStaticText", {{"AXValue", AXPoint{1, 2}}}},
       0,
       "<text/>\n"},
      {"escaping in names, descriptions and values",
       {"AXStaticText",
        {{"AXTitle", "Tom & \"Jerry\" <'s>"}, {"AXDescription", "a&b"}, {"AXValue", "1 < 2"}}},
       0,
       "<text name=\"Tom &amp; &quot;Jerry&quot; &lt;&#39;s&gt;\" alt=\"a&amp;b\">1 &lt; "
       "2</text>\n"},
      {"group with a 150-character name writes it as content",
       {"AXGroup", {{"AXTitle", long150 + "&"}}},
       0,
       "<div>" + long150 + "&amp;</div>\n"},
      {"group name counted untrimmed for content, trimmed for the attribute",
       {"AXGroup", {{"AXTitle", " " + hundred}}},
       0,
       "<div name=\"" + hundred + "\"> " + hundred + "</div>\n"},
      {"group name of 100 characters goes to the attribute only",
       {"AXGroup", {{"AXTitle", hundred}}},
       0,
       "<div name=\"" + hundred + "\"/>\n"},
      {"group with a value does not write its long name",
       {"AXGroup", {{"AXTitle", long150}, {"AXValue", "v"}}},
       0,
       "<div>v</div>\n"},
      {"empty group says nothing", {"AXGroup"}, 0, ""},
      {"empty group with a description",
       {"AXGroup", {{"AXDescription", "Card"}}},
       1,
       "  <div alt=\"Card\"/>\n"},
      {"unknown role with a name",
       {"AXSplitter", {{"AXTitle", "Divider"}}},
       0,
       "<div name=\"Divider\"/>\n"},
      {"nameless wrappers collapse onto the innermost",
       {"AXGroup",
        {},
        {{"AXScrollArea",
          {{"AXTitle", ""}},
          {{"AXGroup",
            {{"AXDescription", "Results"}},
            {{"AXButton", {{"AXTitle", "Go"}, {"AXIdentifier", "go"}}}}}}}}},
       1,
       "  <div alt=\"Results\">\n    <button id=\"{AXButton|go}\" name=\"Go\"/>\n  </div>\n"},
      {"a wrapper with an invisible sibling still collapses",
       {"AXGroup",
        {},
        {{"AXStaticText", {{"AXValue", "gone"}}, {}, false},
         {"AXScrollArea", {}, {{"AXStaticText", {{"AXValue", "Inner"}}}}}}},
       0,
       "<div>\n  <text>Inner</text>\n</div>\n"},
      {"a named group does not collapse",
       {"AXGroup", {{"AXTitle", "Outer"}}, {{"AXGroup", {{"AXTitle", "Inner"}}}}},
       0,
       "<div name=\"Outer\">\n  <div name=\"Inner\"/>\n</div>\n"},
      {"container content on its own line before the children",
       {"AXGroup",
        {{"AXValue", "Summary"}},
        {{"AXStaticText", {{"AXValue", "Hi"}}}, {"AXStaticText", {{"AXValue", "There"}}}}},
       0,
       "<div>\n  Summary\n  <text>Hi</text>\n  <text>There</text>\n</div>\n"},
      {"invisible children and dropped roles are not written",
       {"AXWindow",
        {{"AXTitle", "Main"}},
        {{"AXButton", {{"AXTitle", "Shown"}, {"AXIdentifier", "shown"}}},
         {"AXButton", {{"AXTitle", "Hidden"}, {"AXIdentifier", "hidden"}}, {}, false},
         {"AXScrollBar", {}, {{"AXValueIndicator"}, {"AXButton", {{"AXTitle", "Up"}}}}},
         {"AXIncrementor", {{"AXValue", 3}}}}},
       0,
       "<window name=\"Main\">\n  <button id=\"{AXButton|shown}\" name=\"Shown\"/>\n"
       "</window>\n"},
      {"a container whose visible children all render nothing keeps its tags",
       {"AXWindow", {}, {{"AXGroup"}}},
       0,
       "<window>\n</window>\n"},
      {"heading with level and name",
       {"AXHeading", {{"AXValue", 2}, {"AXTitle", "Intro"}}},
       0,
       "<h2>Intro</h2>\n"},
      {"heading level drops the fraction",
       {"AXHeading", {{"AXValue", 6.9}, {"AXTitle", "x"}}},
       0,
       "<h6>x</h6>\n"},
      {"heading level 0",
       {"AXHeading", {{"AXValue", 0}, {"AXTitle", "Intro"}}},
       0,
       "<h>Intro</h>\n"},
      {"heading level 7",
       {"AXHeading", {{"AXValue", 7}, {"AXTitle", "Intro"}}},
       0,
       "<h>Intro</h>\n"},
      {"heading level as text",
       {"AXHeading", {{"AXValue", "2"}, {"AXTitle", "Intro"}}},
       0,
       "<h>Intro</h>\n"},
      {"heading keeps its name untrimmed, drops its description and children",
       {"AXHeading",
        {{"AXValue", 1}, {"AXTitle", " A&B "}, {"AXDescription", "desc"}},
        {{"AXStaticText", {{"AXValue", "child"}}}}},
       1,
       "  <h1> A&amp;B </h1>\n"},
      {"empty heading", {"AXHeading"}, 0, "<h></h>\n"},
      {"checked checkbox never renders children",
       {"AXCheckBox",
        {{"AXTitle", "Remember"}, {"AXValue", 1}, {"AXIdentifier", "remember"}},
        {{"AXStaticText", {{"AXValue", "label"}}}}},
       0,
       "<checkbox id=\"{AXCheckBox|remember}\" name=\"Remember\" checked/>\n"},
      {"unchecked checkbox",
       {"AXCheckBox", {{"AXValue", 0}, {"AXIdentifier", "c"}}},
       0,
       "<checkbox id=\"{AXCheckBox|c}\"/>\n"},
      {"radio whose value drops to 1 is checked",
       {"AXRadioButton", {{"AXValue", 1.5}, {"AXIdentifier", "r"}}},
       0,
       "<radio id=\"{AXRadioButton|r}\" checked/>\n"},
      {"radio whose value drops to 0 is not checked",
       {"AXRadioButton", {{"AXValue", 0.5}, {"AXIdentifier", "r"}}},
       0,
       "<radio id=\"{AXRadioButton|r}\"/>\n"},
      {"slider value attribute and no content",
       {"AXSlider", {{"AXValue", 0.5}, {"AXIdentifier", "volume"}}},
       0,
       "<slider id=\"{AXSlider|volume}\" value=\"0.5\"/>\n"},
      {"progress with a text value has neither value nor content",
       {"AXProgressIndicator", {{"AXValue", "half"}}},
       0,
       "<progress/>\n"},
      {"progress with a whole number",
       {"AXProgressIndicator", {{"AXValue", 100.0}, {"AXDescription", "Upload"}}},
       0,
       "<progress alt=\"Upload\" value=\"100\"/>\n"},
      {"date and time fields are always self-closing",
       {"AXGroup",
        {{"AXTitle", "When"}},
        {{"AXDateField", {{"AXTitle", "Day"}, {"AXValue", "1/2/2026"}, {"AXIdentifier", "d"}}},
         {"AXTimeField", {{"AXIdentifier", "t"}}, {{"AXStaticText", {{"AXValue", "x"}}}}}}},
       0,
       "<div name=\"When\">\n  <date id=\"{AXDateField|d}\" name=\"Day\"/>\n"
       "  <time id=\"{AXTimeField|t}\"/>\n</div>\n"},
      {"menus",
       {"AXMenuBar",
        {},
        {{"AXMenuBarItem", {{"AXTitle", "File"}, {"AXIdentifier", "file"}}},
         {"AXMenu",
          {},
          {{"AXMenuItem", {{"AXTitle", "Open…"}, {"AXIdentifier", "open"}}},
           {"AXMenuButton", {{"AXRoleDescription", "menu button"}, {"AXIdentifier", "more"}}}}}}},
       0,
       "<menu>\n  <menubutton id=\"{AXMenuBarItem|file}\" name=\"File\"/>\n  <menu>\n"
       "    <menuitem id=\"{AXMenuItem|open}\" name=\"Open…\"/>\n"
       "    <menubutton id=\"{AXMenuButton|more}\" name=\"menu button\"/>\n  </menu>\n</menu>\n"},
      {"table rows and cells",
       {"AXTable",
        {},
        {{"AXRow",
          {},
          {{"AXCell", {}, {{"AXStaticText", {{"AXValue", "A1"}}}}},
           {"AXCell", {}, {{"AXLink", {{"AXTitle", "Open"}, {"AXIdentifier", "l"}}}}}}}}},
       0,
       "<table>\n  <tr>\n    <td>\n      <text>A1</text>\n    </td>\n    <td>\n"
       "      <link id=\"{AXLink|l}\" name=\"Open\"/>\n    </td>\n  </tr>\n</table>\n"},
      {"other actionable tags",
       {"AXWebArea",
        {},
        {{"AXPopUpButton", {{"AXValue", "Small"}, {"AXIdentifier", "size"}}},
         {"AXComboBox", {{"AXIdentifier", "font"}}},
         {"AXSearchField", {{"AXIdentifier", "q"}}},
         {"AXSecureTextField", {{"AXIdentifier", "pw"}}},
         {"AXTextArea", {{"AXIdentifier", "body"}}}}},
       0,
       "<webarea>\n  <dropdown id=\"{AXPopUpButton|size}\">Small</dropdown>\n"
       "  <combobox id=\"{AXComboBox|font}\"/>\n  <input id=\"{AXSearchField|q}\"/>\n"
       "  <input id=\"{AXSecureTextField|pw}\"/>\n  <input id=\"{AXTextArea|body}\"/>\n"
       "</webarea>\n"},
  };
}

TEST(Markup, RendersEachRule) {
  for (const MarkupCase& c : markupCases()) {
    TreeBuilder builder;
    std::unique_ptr<UIElement> element = builder.build(c.tree);
    EXPECT_EQ(element->toCompactText(c.indent), withIds(c.expected)) << c.what;
  }
}

TEST(Markup, AppendsToWhatIsAlreadyThere) {
  TreeBuilder builder;
  std::unique_ptr<UIElement> text = builder.build({"AXStaticText", {{"AXValue", "x"}}});
  std::string out = "<before/>\n";
  text->appendCompactText(0, out);
  EXPECT_EQ(out, "<before/>\n<text>x</text>\n");
}

TEST(SerializationName, CountsUserPerceivedCharacters) {
  struct Case {
    const char* what;
    std::optional<std::string> name;
    std::optional<std::string> roleDescription;
    bool fallback;
    std::optional<std::string> expected;
  };
  const std::string thumbs = "\U0001F44D\U0001F3FD";                        // two code points
  const std::string family = "\U0001F468\u200D\U0001F469\u200D\U0001F467";  // five
  const std::string accented = "e\u0301";
  const std::string flag = "\U0001F1EB\U0001F1F7";
  const std::vector<Case> cases = {
      {"100 skin-toned emoji", repeated(thumbs, 100), std::nullopt, false, repeated(thumbs, 100)},
      {"101 skin-toned emoji", repeated(thumbs, 101), std::nullopt, false, std::nullopt},
      {"100 families", repeated(family, 100), std::nullopt, false, repeated(family, 100)},
      {"101 flags", repeated(flag, 101), std::nullopt, false, std::nullopt},
      {"99 accented letters with spaces around", "  " + repeated(accented, 99) + "\n", std::nullopt,
       false, repeated(accented, 99)},
      {"100 letters after trimming", " \t" + repeated("x", 100) + " ", std::nullopt, false,
       repeated("x", 100)},
      {"too long name falls back to the role description", repeated("x", 101), " button ", true,
       "button"},
      {"no fallback without the flag", repeated("x", 101), "button", false, std::nullopt},
      {"blank name, blank role description", "  ", "\n", true, std::nullopt},
      {"no name at all", std::nullopt, "tab", true, "tab"},
      {"too long role description", std::nullopt, repeated(thumbs, 101), true, std::nullopt},
  };
  for (const Case& c : cases) {
    TestNode node{"AXButton"};
    if (c.name) node.attributes.emplace_back("AXTitle", *c.name);
    if (c.roleDescription) node.attributes.emplace_back("AXRoleDescription", *c.roleDescription);
    TreeBuilder builder;
    EXPECT_EQ(builder.build(node)->serializationName(100, c.fallback), c.expected) << c.what;
  }
  TreeBuilder builder;
  std::unique_ptr<UIElement> element = builder.build({"AXButton", {{"AXTitle", "abcdef"}}});
  EXPECT_EQ(element->serializationName(5, false), std::nullopt);
  EXPECT_EQ(element->serializationName(6, false), "abcdef");
}

TEST(Markup, LongGroupNamesCountCharactersNotBytes) {
  const std::string thumbs = "\U0001F44D\U0001F3FD";
  for (int count : {100, 101}) {
    TreeBuilder builder;
    std::unique_ptr<UIElement> group =
        builder.build({"AXGroup", {{"AXTitle", repeated(thumbs, count)}}});
    std::string expected = count == 100 ? "<div name=\"" + repeated(thumbs, 100) + "\"/>\n"
                                        : "<div>" + repeated(thumbs, 101) + "</div>\n";
    EXPECT_EQ(group->toCompactText(0), expected) << count;
  }
}

TEST(EscapeXML, ReplacesTheFiveCharactersOnce) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},
      {"plain", "plain"},
      {"&", "&amp;"},
      {"&amp;", "&amp;amp;"},
      {"<a href='x'>\"q\"</a>", "&lt;a href=&#39;x&#39;&gt;&quot;q&quot;&lt;/a&gt;"},
      {"caf\u00e9 & \U0001F600", "caf\u00e9 &amp; \U0001F600"},
  };
  for (const auto& [text, escaped] : cases)
    EXPECT_EQ(escapeXML(text), escaped) << text;
}

}  // namespace
}  // namespace tessary
