// The capture JSON printed straight from the records is byte for byte what
// the suite's pretty writer makes of the element maps.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "common/json.h"
#include "scene-census/serialize/capture_json.h"
#include "scene-census/tests/element_tree_builder.h"

namespace tessary {
namespace {

using testing::TestNode;
using testing::TreeBuilder;

std::string viaMaps(const std::vector<std::unique_ptr<UIElement>>& roots,
                    const std::string& formattedText) {
  JsonArray elements;
  for (const auto& root : roots)
    elements.emplace_back(root->toDict());
  JsonObject output;
  output.set("elements", std::move(elements));
  output.set("formatted_text", formattedText);
  std::string text;
  EXPECT_TRUE(writeJsonPretty(JsonValue(std::move(output)), text));
  return text + "\n";
}

std::string streamed(const std::vector<std::unique_ptr<UIElement>>& roots,
                     const std::string& formattedText) {
  std::ostringstream out;
  writeCaptureJson(out, roots, formattedText);
  return out.str();
}

TEST(CaptureJson, MatchesThePrettyWriterOnEveryKindOfField) {
  TreeBuilder builder;
  std::vector<std::unique_ptr<UIElement>> roots;
  roots.push_back(builder.build(
      {"AXWindow",
       {{"AXTitle", "Report / Q3 \"final\" \\ done"}, {"AXRoleDescription", "standard window"}},
       {{"AXButton",
         {{"AXTitle", ""},
          {"AXDescription", "tab\there\nnew line\x01\x1f"},
          {"AXValue", 2.5},
          {"AXEnabled", true},
          {"AXFocused", true}}},
        {"AXStaticText", {{"AXValue", "caf\xc3\xa9 \xf0\x9f\x98\x80 bad\xff\xfe bytes \xe2\x82"}}},
        {"AXCheckBox", {{"AXValue", true}}},
        {"AXSlider", {{"AXValue", int64_t{-42}}}},
        {"AXImage", {{"AXValue", AXPoint{1, 2}}}},
        {"AXGroup", {}, {{"AXStaticText", {{"AXValue", ""}}, {}, false}}, false},
        {""}}}));
  roots.front()->setAppName("Ledger / Books");
  roots.push_back(builder.build({"AXList", {{"AXTitle", "Dock items"}}}));
  roots.back()->setAppName("Dock");
  roots.push_back(builder.build({"AXGroup"}));
  roots.back()->setAppName("Ledger");

  std::string markup;
  for (const auto& root : roots)
    root->appendCompactText(0, markup);
  EXPECT_EQ(streamed(roots, markup), viaMaps(roots, markup));
}

TEST(CaptureJson, NoRootsAndEmptyMarkup) {
  std::vector<std::unique_ptr<UIElement>> none;
  EXPECT_EQ(streamed(none, ""), viaMaps(none, ""));
  EXPECT_EQ(streamed(none, ""), "{\n  \"elements\" : [],\n  \"formatted_text\" : \"\"\n}\n");
}

TEST(CaptureJson, ATreeLargerThanOneChunk) {
  std::vector<TestNode> rows;
  for (int i = 0; i < 400; ++i) {
    std::vector<TestNode> cells;
    for (int j = 0; j < 5; ++j) {
      cells.push_back(
          {"AXCell", {}, {{"AXStaticText", {{"AXValue", "cell " + std::to_string(j)}}}}});
    }
    rows.push_back({"AXRow", {{"AXIdentifier", "row-" + std::to_string(i)}}, std::move(cells)});
  }
  TreeBuilder builder;
  std::vector<std::unique_ptr<UIElement>> roots;
  roots.push_back(builder.build({"AXTable", {}, std::move(rows)}));
  std::string markup = roots.front()->toCompactText(0);
  std::string text = streamed(roots, markup);
  EXPECT_GT(text.size(), 1u << 17);
  EXPECT_EQ(text, viaMaps(roots, markup));
}

TEST(CaptureJson, OneElementAtADepth) {
  TreeBuilder builder;
  std::unique_ptr<UIElement> button =
      builder.build({"AXButton", {{"AXTitle", "OK"}, {"AXIdentifier", "ok"}}});
  std::string expected;
  ASSERT_TRUE(writeJsonPretty(JsonValue(JsonArray{JsonValue(button->toDict())}), expected));
  std::string text = "[\n  ";
  appendElementJson(*button, 1, text);
  text += "\n]";
  EXPECT_EQ(text, expected);
}

}  // namespace
}  // namespace tessary
