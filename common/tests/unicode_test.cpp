// Lower-casing, regular-expression replacement, grapheme clusters and UTF-8
// checking.
#include <gtest/gtest.h>

#include "common/stable_identifier.h"
#include "common/unicode.h"
#include "common/utf8.h"

namespace tessary {
namespace {

TEST(Lowercased, FullUnicodeMapping) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},
      {"Save FILE 42", "save file 42"},
      {"\u00c4\u00d6\u00dc", "\u00e4\u00f6\u00fc"},
      {"\u0394\u0399\u0391", "\u03b4\u03b9\u03b1"},
      // CAPITAL I WITH DOT ABOVE lower-cases to two code points (longer output).
      {"\u0130", "i\u0307"},
      {"\u0130\u0130\u0130\u0130", "i\u0307i\u0307i\u0307i\u0307"},
      // Final sigma in context.
      {"\u039f\u0394\u039f\u03a3", "\u03bf\u03b4\u03bf\u03c2"},
      {"\u00df", "\u00df"},
      {"\U0001D400", "\U0001D400"},  // mathematical bold capital A has no lower case
      {"\U00010400", "\U00010428"},  // DESERET CAPITAL LONG I
  };
  for (const auto& [text, expected] : cases)
    EXPECT_EQ(lowercased(text), expected) << text;
}

TEST(Lowercased, IllFormedBytesBecomeReplacementCharacters) {
  EXPECT_EQ(lowercased("A\xff\u00c4"), "a\ufffd\u00e4");
  EXPECT_TRUE(isValidUtf8(lowercased("\xc3\u00c4")));
}

struct ReplaceCase {
  std::string text;
  std::string pattern;
  std::string replacement;
  std::string expected;
};

TEST(RegexReplaceAll, Table) {
  const ReplaceCase cases[] = {
      {"inbox - mail - google chrome", " - google chrome.*$", "", "inbox - mail"},
      {"a, b;;c", "[^\\p{L}\\p{N}]+", " ", "a b c"},
      {"stra\u00dfe\u2014\u0661\u0662", "[^\\p{L}\\p{N}]+", " ", "stra\u00dfe \u0661\u0662"},
      {"a \t\n b\u00a0\u2028c", "\\s+", " ", "a b c"},
      {"no match", "xyz", "!", "no match"},
      {"", "\\s+", " ", ""},
      // The replacement is literal: no group references, no escapes.
      {"a b", " ", "$0", "a$0b"},
      {"a b", " ", "\\", "a\\b"},
      {"a b", "(\\s)", "$1$1", "a$1$1b"},
      // Growing output beyond the input length.
      {"aaaa", "a", "\U0001F600\U0001F600",
       "\U0001F600\U0001F600\U0001F600\U0001F600"
       "\U0001F600\U0001F600\U0001F600\U0001F600"},
      // "$" matches at the very end of the text.
      {"x - chrome\nmore", " - chrome.*$", "", "x - chrome\nmore"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(regexReplaceAll(c.text, c.pattern, c.replacement), c.expected)
        << c.text << " / " << c.pattern;
  }
}

TEST(RegexReplaceAll, PatternThatDoesNotCompileLeavesTextUnchanged) {
  EXPECT_EQ(regexReplaceAll("a(b", "(", "x"), "a(b");
  EXPECT_EQ(regexReplaceAll("abc", "[", "x"), "abc");
  // The failure is remembered, not fatal on the second use.
  EXPECT_EQ(regexReplaceAll("abc", "[", "x"), "abc");
}

TEST(RegexReplaceAll, SamePatternOverManyTextsStaysCorrect) {
  // The compiled pattern is reused; every call must see only its own text.
  for (int i = 0; i < 50; ++i) {
    const std::string text = "w" + std::to_string(i) + "  \t x";
    EXPECT_EQ(regexReplaceAll(text, "\\s+", " "), "w" + std::to_string(i) + " x");
  }
}

TEST(GraphemeClusterCount, UserPerceivedCharacters) {
  const std::pair<std::string, size_t> cases[] = {
      {"", 0},
      {"abc", 3},
      {"\r\n", 1},
      {"e\u0301", 1},                                                     // combining acute accent
      {"e\u0301\u0327\u0308x", 2},                                        // stacked marks
      {"\U0001F468\u200D\U0001F469\u200D\U0001F467\u200D\U0001F466", 1},  // family ZWJ sequence
      {"\U0001F44D\U0001F3FD", 1},                                        // emoji with skin tone
      {"\U0001F1E9\U0001F1EA\U0001F1EB\U0001F1F7", 2},                    // two flags
      {"\U0001F1E9\U0001F1EA\U0001F1EB", 2},  // a flag and a lone indicator
      {"\u1100\u1161\u11a8", 1},              // Hangul jamo syllable
      {"\u2764\ufe0f", 1},                    // variation selector
      {"\xff\xfe", 2},                        // each ill-formed byte one U+FFFD
      {"a\xe2\x82", 2},                       // truncated sequence
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(graphemeClusterCount(text), expected) << text;
  }
}

TEST(GraphemeClusterCount, HundredCharacterNameBoundary) {
  // The markup's 100-character limit counts clusters, not bytes.
  std::string hundred;
  for (int i = 0; i < 100; ++i)
    hundred += "\u00e9";
  EXPECT_EQ(graphemeClusterCount(hundred), 100u);
  EXPECT_EQ(graphemeClusterCount(hundred + "e\u0301"), 101u);
}

struct Utf8Case {
  std::string bytes;
  bool valid;
  std::string sanitized;
};

TEST(Utf8, ValidityAndReplacementOfMaximalSubparts) {
  const Utf8Case cases[] = {
      {"", true, ""},
      {"plain", true, "plain"},
      {"\u00e9\u20ac\U0001F600", true, "\u00e9\u20ac\U0001F600"},
      {std::string("a\0b", 3), true, std::string("a\0b", 3)},
      {"\x80", false, "\ufffd"},
      {"\xff", false, "\ufffd"},
      {"\xc0\xaf", false, "\ufffd\ufffd"},  // overlong "/"
      {"\xc2", false, "\ufffd"},            // truncated at the end
      {"\xe2\x82"
       "a",
       false,
       "\ufffd"
       "a"},                                                    // one subpart, then ASCII
      {"\xe0\x80\x80", false, "\ufffd\ufffd\ufffd"},            // overlong three-byte form
      {"\xed\xa0\x80", false, "\ufffd\ufffd\ufffd"},            // UTF-16 surrogate
      {"\xf4\x90\x80\x80", false, "\ufffd\ufffd\ufffd\ufffd"},  // beyond U+10FFFF
      {"\xf0\x9f\x98", false, "\ufffd"},                        // truncated four-byte form
      {"\xf0\x9f\x98"
       "\xf0\x9f\x98\x80",
       false, "\ufffd\U0001F600"},
      {"\xf5\x80", false, "\ufffd\ufffd"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(isValidUtf8(c.bytes), c.valid) << c.sanitized;
    EXPECT_EQ(sanitizedUtf8(c.bytes), c.sanitized);
    EXPECT_TRUE(isValidUtf8(sanitizedUtf8(c.bytes)));
  }
}

}  // namespace
}  // namespace tessary

namespace tessary {
namespace {

// Three places decide what whitespace is: the trimming, the regex class \s
// (title normalization) and the identifier's run collapsing. They must agree.
TEST(Whitespace, TrimRegexAndIdentifierAgree) {
  // Every whitespace character lies in the Basic Multilingual Plane.
  for (char32_t c = 1; c <= 0xFFFF; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    std::string text;
    appendUtf8(text, c);
    const bool trimmed = trimWhitespaceAndNewlines(text).empty();
    const bool collapsed = normalizedSemanticIdentifierComponent("a" + text + "b") == "a b";
    ASSERT_EQ(trimmed, collapsed) << std::hex << static_cast<uint32_t>(c);
    if (c < 0x3100) {
      ASSERT_EQ(regexReplaceAll(text, "\\s", "").empty(), trimmed)
          << std::hex << static_cast<uint32_t>(c);
    }
  }
}

}  // namespace
}  // namespace tessary
