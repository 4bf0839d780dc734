// Trimming in its two variants, splitting and the small text helpers.
#include <gtest/gtest.h>

#include "common/text.h"
#include "common/unicode.h"

namespace tessary {
namespace {

struct TrimCase {
  std::string text;
  std::string spacesAndTabs;
  std::string whitespaceAndNewlines;
};

// Both variants over the same inputs: line breaks separate them.
const TrimCase kTrimCases[] = {
    {"", "", ""},
    {"Dock", "Dock", "Dock"},
    {"  Dock\t ", "Dock", "Dock"},
    {"\tTessary Next\t", "Tessary Next", "Tessary Next"},
    {"a b", "a b", "a b"},
    {"    ", "", ""},
    {"\nDock\n", "\nDock\n", "Dock"},
    {"\r\n x \r\n", "\r\n x \r\n", "x"},
    {" \n x", "\n x", "x"},
    {"\x0b\x0c"
     "x",
     "\x0b\x0c"
     "x",
     "x"},
    // NO-BREAK SPACE, EM SPACE and IDEOGRAPHIC SPACE are space separators.
    {"\u00a0x\u2003", "x", "x"},
    {"\u3000x", "x", "x"},
    // NEXT LINE, LINE SEPARATOR and PARAGRAPH SEPARATOR are line breaks.
    {"\u0085x\u2028", "\u0085x\u2028", "x"},
    {"x\u2029", "x\u2029", "x"},
    // ZERO WIDTH SPACE is not whitespace.
    {"\u200bx\u200b", "\u200bx\u200b", "\u200bx\u200b"},
    // Inner whitespace stays.
    {" a \n b ", "a \n b", "a \n b"},
    // Ill-formed bytes stop the trimming; they are never removed.
    {" \xff ", "\xff", "\xff"},
    {"x \xe2\x80", "x \xe2\x80", "x \xe2\x80"},
};

TEST(Trim, BothVariants) {
  for (const auto& c : kTrimCases) {
    EXPECT_EQ(trimSpacesAndTabs(c.text), c.spacesAndTabs) << "[" << c.text << "]";
    EXPECT_EQ(trimWhitespaceAndNewlines(c.text), c.whitespaceAndNewlines) << "[" << c.text << "]";
  }
}

TEST(Trim, ResultViewsIntoTheInput) {
  const std::string text = "  abc \n";
  const std::string_view trimmed = trimWhitespaceAndNewlines(text);
  EXPECT_EQ(trimmed.data(), text.data() + 2);
  EXPECT_EQ(trimSpacesAndTabs(text).data(), text.data() + 2);
}

TEST(SplitDroppingEmpty, DropsEmptyPiecesOnly) {
  using Pieces = std::vector<std::string_view>;
  EXPECT_EQ(splitDroppingEmpty("", ','), Pieces{});
  EXPECT_EQ(splitDroppingEmpty(",,,", ','), Pieces{});
  EXPECT_EQ(splitDroppingEmpty("a", ','), Pieces{"a"});
  EXPECT_EQ(splitDroppingEmpty(",a,,b,", ','), (Pieces{"a", "b"}));
  EXPECT_EQ(splitDroppingEmpty("1, 2 ,  ", ','), (Pieces{"1", " 2 ", "  "}));
}

TEST(ContainsText, PlainSubstring) {
  EXPECT_TRUE(containsText("We are doing multiple things here", "doing multiple things"));
  EXPECT_FALSE(containsText("Doing Multiple Things", "doing multiple things"));
  EXPECT_FALSE(containsText("doing", "doing multiple things"));
  EXPECT_TRUE(containsText("abc", ""));
}

TEST(AsciiLowercased, LeavesNonAsciiBytesAlone) {
  EXPECT_EQ(asciiLowercased("TRUE Yes"), "true yes");
  EXPECT_EQ(asciiLowercased("\u00c4B"), "\u00c4b");
}

}  // namespace
}  // namespace tessary
