// The two kinds of output line, exactly, and valid JSON whatever the text.
#include "voice-scribe/transcript_lines.h"

#include <gtest/gtest.h>

#include <ostream>

#include <nlohmann/json.hpp>
#include <sstream>

namespace tessary {
namespace {

TEST(TranscriptLine, IsACompactObjectWithTextAndIsFinal) {
  EXPECT_EQ(transcriptLine("Hello world.", false),
            "{\"text\":\"Hello world.\",\"isFinal\":false}\n");
  EXPECT_EQ(transcriptLine("", true), "{\"text\":\"\",\"isFinal\":true}\n");
}

struct EscapeCase {
  const char* name;
  std::string message;
  std::string line;    // the exact error line
  std::string parsed;  // what a JSON reader gets back
  friend void PrintTo(const EscapeCase& c, std::ostream* os) { *os << c.name; }
};

class ErrorLines : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(ErrorLines, AreValidJsonWithTheMessage) {
  const std::string line = errorLine(GetParam().message);
  EXPECT_EQ(line, GetParam().line);
  ASSERT_TRUE(line.ends_with("\n"));
  ASSERT_EQ(line.find('\n'), line.size() - 1) << "one line only";
  nlohmann::json parsed = nlohmann::json::parse(line);
  ASSERT_EQ(parsed.size(), 1u);
  EXPECT_EQ(parsed["error"], GetParam().parsed);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ErrorLines,
    ::testing::Values(
        EscapeCase{"Plain", "Speech recognition permission denied",
                   "{\"error\":\"Speech recognition permission denied\"}\n",
                   "Speech recognition permission denied"},
        EscapeCase{"Quotes", "say \"hi\"", "{\"error\":\"say \\\"hi\\\"\"}\n", "say \"hi\""},
        EscapeCase{"Backslash", "C:\\audio\\", "{\"error\":\"C:\\\\audio\\\\\"}\n", "C:\\audio\\"},
        EscapeCase{"NewlineAndTab", "line one\nline\ttwo\r",
                   "{\"error\":\"line one\\nline\\ttwo\\r\"}\n", "line one\nline\ttwo\r"},
        EscapeCase{"OtherControl", std::string("a\x01z\x1f", 4),
                   "{\"error\":\"a\\u0001z\\u001f\"}\n", std::string("a\x01z\x1f", 4)},
        EscapeCase{"NonAscii", "Fehler: Spracherkennung \u00fcberlastet \u2014 \U0001F3A4",
                   "{\"error\":\"Fehler: Spracherkennung \u00fcberlastet \u2014 \U0001F3A4\"}\n",
                   "Fehler: Spracherkennung \u00fcberlastet \u2014 \U0001F3A4"},
        EscapeCase{"InvalidUtf8", "bad \xff\xfe byte", "{\"error\":\"bad \ufffd\ufffd byte\"}\n",
                   "bad \ufffd\ufffd byte"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EmitLines, WriteWholeLinesAndFlush) {
  std::ostringstream out;
  emitTranscript(out, "a \"quoted\"\nline", true);
  emitError(out, "x");
  EXPECT_EQ(out.str(),
            "{\"text\":\"a \\\"quoted\\\"\\nline\",\"isFinal\":true}\n{\"error\":\"x\"}\n");
}

}  // namespace
}  // namespace tessary
