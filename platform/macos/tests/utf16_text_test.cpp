#include "platform/macos/utf16_text.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace tessary::macos {
namespace {

struct Utf16Case {
  const char* name;
  std::vector<uint16_t> units;
  std::string utf8;
};

void PrintTo(const Utf16Case& c, std::ostream* os) {
  *os << c.name;
}

class Utf16TextTest : public testing::TestWithParam<Utf16Case> {};

TEST_P(Utf16TextTest, ConvertsToWellFormedUtf8) {
  EXPECT_EQ(utf8FromUtf16(GetParam().units), GetParam().utf8);
}

const std::string kReplacement = "\xEF\xBF\xBD";
const std::string kGrinningFace = "\xF0\x9F\x98\x80";  // U+1F600 = D83D DE00

INSTANTIATE_TEST_SUITE_P(
    Cases, Utf16TextTest,
    testing::Values(
        Utf16Case{"Empty", {}, ""}, Utf16Case{"Ascii", {'O', 'K'}, "OK"},
        Utf16Case{"EmbeddedNulKept", {'A', 0, 'B'}, std::string("A\0B", 3)},
        Utf16Case{"TwoByteForm", {0x00E9}, "\xC3\xA9"},
        Utf16Case{"ThreeByteForm", {0x20AC}, "\xE2\x82\xAC"},
        Utf16Case{"LastUnitBeforeSurrogates", {0xD7FF}, "\xED\x9F\xBF"},
        Utf16Case{"FirstUnitAfterSurrogates", {0xE000}, "\xEE\x80\x80"},
        Utf16Case{"SurrogatePair", {0xD83D, 0xDE00}, kGrinningFace},
        Utf16Case{"HighestCodePoint", {0xDBFF, 0xDFFF}, "\xF4\x8F\xBF\xBF"},
        Utf16Case{"LoneHighAtEnd", {'a', 0xD83D}, "a" + kReplacement},
        Utf16Case{"LoneLow", {0xDE00, 'b'}, kReplacement + "b"},
        Utf16Case{"HighBeforeNonSurrogate", {0xD83D, 'c'}, kReplacement + "c"},
        Utf16Case{"ReversedPair", {0xDE00, 0xD83D}, kReplacement + kReplacement},
        Utf16Case{"DoubledHighThenPair", {0xD83D, 0xD83D, 0xDE00}, kReplacement + kGrinningFace}),
    [](const testing::TestParamInfo<Utf16Case>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tessary::macos
