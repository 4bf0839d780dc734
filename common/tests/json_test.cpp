// The JSON writer: layout, key order, escaping, UTF-8 repair and numbers.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <limits>

#include "common/json.h"
#include "common/unicode.h"

namespace tessary {
namespace {

std::string pretty(const JsonValue& value) {
  std::string out;
  EXPECT_TRUE(writeJsonPretty(value, out));
  return out;
}

std::string compact(const JsonValue& value) {
  std::string out;
  EXPECT_TRUE(writeJsonCompact(value, out));
  return out;
}

JsonObject sampleEnvelope() {
  JsonObject button;
  button.set("role", "AXButton");
  button.set("id", "e1751zg9kujahi");
  button.set("bbox", JsonArray{130, 70, 200, 100});
  button.set("children", JsonArray{});
  button.set("enabled", true);
  button.set("value", nullptr);
  JsonObject envelope;
  envelope.set("formatted_text", "<button/>\n");
  envelope.set("elements", JsonArray{button});
  return envelope;
}

TEST(JsonPretty, NestedLayoutWithSortedKeys) {
  EXPECT_EQ(pretty(sampleEnvelope()),
            "{\n"
            "  \"elements\" : [\n"
            "    {\n"
            "      \"bbox\" : [\n"
            "        130,\n"
            "        70,\n"
            "        200,\n"
            "        100\n"
            "      ],\n"
            "      \"children\" : [],\n"
            "      \"enabled\" : true,\n"
            "      \"id\" : \"e1751zg9kujahi\",\n"
            "      \"role\" : \"AXButton\",\n"
            "      \"value\" : null\n"
            "    }\n"
            "  ],\n"
            "  \"formatted_text\" : \"<button\\/>\\n\"\n"
            "}");
}

TEST(JsonCompact, OneLineInInsertionOrder) {
  EXPECT_EQ(compact(sampleEnvelope()),
            "{\"formatted_text\":\"<button\\/>\\n\",\"elements\":[{\"role\":\"AXButton\",\"id\":"
            "\"e1751zg9kujahi\",\"bbox\":[130,70,200,100],\"children\":[],\"enabled\":true,"
            "\"value\":null}]}");
}

TEST(JsonPretty, KeysSortInByteOrder) {
  JsonObject object;
  for (const char* key : {"b", "\u00e9", "B", "a", "_", "aa", "", "Z", "z"})
    object.set(key, 1);
  const nlohmann::ordered_json parsed = nlohmann::ordered_json::parse(pretty(object));
  std::vector<std::string> keys;
  for (const auto& item : parsed.items())
    keys.push_back(item.key());
  EXPECT_EQ(keys, (std::vector<std::string>{"", "B", "Z", "_", "a", "aa", "b", "z", "\u00e9"}));
}

TEST(JsonObject, SetReplacesAnExistingKeyInPlace) {
  JsonObject object;
  object.set("a", 1);
  object.set("b", 2);
  object.set("a", "x");
  EXPECT_EQ(object.members().size(), 2u);
  EXPECT_EQ(compact(object), "{\"a\":\"x\",\"b\":2}");
  ASSERT_NE(object.find("b"), nullptr);
  EXPECT_EQ(object.find("c"), nullptr);
}

TEST(JsonString, Escaping) {
  const std::pair<std::string, std::string> cases[] = {
      {"plain", "\"plain\""},
      {"quote \" backslash \\", "\"quote \\\" backslash \\\\\""},
      {"a/b", "\"a\\/b\""},
      {"\b\f\n\r\t", "\"\\b\\f\\n\\r\\t\""},
      {std::string("\0\x01\x1f", 3), "\"\\u0000\\u0001\\u001f\""},
      {"\x7f", "\"\x7f\""},
      {"\u00e9\u2028\U0001F600", "\"\u00e9\u2028\U0001F600\""},
      {"<a href='x'>&amp;</a>", "\"<a href='x'>&amp;<\\/a>\""},
  };
  for (const auto& [text, expected] : cases)
    EXPECT_EQ(compact(JsonValue(text)), expected);
}

TEST(JsonString, IllFormedUtf8BecomesReplacementCharacters) {
  const std::pair<std::string, std::string> cases[] = {
      {"a\xff"
       "b",
       "a\ufffd"
       "b"},
      {"\xc3", "\ufffd"},
      {"\xe2\x82"
       "x",
       "\ufffd"
       "x"},
      {"\xed\xa0\x80", "\ufffd\ufffd\ufffd"},
      {"\xf0\x9f\x98\x80\xf0\x9f", "\U0001F600\ufffd"},
  };
  for (const auto& [text, expected] : cases) {
    JsonObject object;
    object.set(text, text);  // keys are repaired as well
    const std::string out = pretty(object);
    EXPECT_TRUE(isValidUtf8(out));
    const nlohmann::json parsed = nlohmann::json::parse(out);
    ASSERT_TRUE(parsed.contains(expected)) << out;
    EXPECT_EQ(parsed[expected], expected);
  }
}

TEST(JsonString, EveryByteValueRoundTripsThroughAParser) {
  std::string all;
  for (int i = 1; i < 0x80; ++i)
    all.push_back(static_cast<char>(i));
  all += "\u00e9\u4e2d\U0001F468\u200D\U0001F469";
  EXPECT_EQ(nlohmann::json::parse(compact(JsonValue(all))).get<std::string>(), all);
  EXPECT_EQ(nlohmann::json::parse(pretty(JsonValue(all))).get<std::string>(), all);
}

TEST(JsonNumber, IntegersAndShortestDoubles) {
  const std::pair<JsonValue, std::string> cases[] = {
      {JsonValue(0), "0"},
      {JsonValue(int64_t{-42}), "-42"},
      {JsonValue(std::numeric_limits<int64_t>::max()), "9223372036854775807"},
      {JsonValue(std::numeric_limits<int64_t>::min()), "-9223372036854775808"},
      {JsonValue(25.0), "25"},
      {JsonValue(0.5), "0.5"},
      {JsonValue(-0.25), "-0.25"},
      {JsonValue(0.1 + 0.2), "0.30000000000000004"},
      {JsonValue(1e21), "1e+21"},
      {JsonValue(1e20), "100000000000000000000"},
      {JsonValue(1.5e-7), "1.5e-7"},
      {JsonValue(0.000001), "0.000001"},
      {JsonValue(-0.0), "-0"},
      {JsonValue(5e-324), "5e-324"},
  };
  for (const auto& [value, expected] : cases) {
    const std::string out = compact(value);
    EXPECT_EQ(out, expected);
    if (std::holds_alternative<double>(value.storage())) {
      EXPECT_EQ(nlohmann::json::parse(out).get<double>(), std::get<double>(value.storage()));
    }
  }
}

TEST(JsonNumber, NonFiniteFailsAndLeavesOutputUntouched) {
  for (double bad :
       {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
        -std::numeric_limits<double>::infinity()}) {
    JsonObject inner;
    inner.set("ok", 1);
    inner.set("bad", JsonArray{1.0, bad});
    JsonObject outer;
    outer.set("inner", inner);
    std::string out = "previous";
    EXPECT_FALSE(writeJsonPretty(outer, out));
    EXPECT_EQ(out, "previous");
    EXPECT_FALSE(writeJsonCompact(outer, out));
    EXPECT_EQ(out, "previous");
  }
}

TEST(JsonPretty, EmptyContainersAndScalarsAtTopLevel) {
  EXPECT_EQ(pretty(JsonObject{}), "{}");
  EXPECT_EQ(pretty(JsonArray{}), "[]");
  EXPECT_EQ(pretty(JsonValue()), "null");
  EXPECT_EQ(pretty(JsonValue(false)), "false");
  JsonObject object;
  object.set("selection_context", nullptr);
  EXPECT_EQ(pretty(object), "{\n  \"selection_context\" : null\n}");
}

}  // namespace
}  // namespace tessary
