// The element identifier shared by scene-census and hit-probe: its hash, its
// digits, its key parts and the worked identifiers the host already knows.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <regex>

#include "common/stable_identifier.h"

namespace tessary {
namespace {

using OptText = std::optional<std::string>;

TEST(Fnv1a64, OwnOffsetBasis) {
  EXPECT_EQ(fnv1a64(""), 1469598103934665603ULL);
  EXPECT_EQ(fnv1a64(""), 0x14650FB0739D0383ULL);
  EXPECT_EQ(fnv1a64("a"), 0x44bd8ad473cd9906ULL);
  // Bytes above 0x7f are hashed as unsigned values.
  EXPECT_EQ(fnv1a64("\xff"), (0x14650FB0739D0383ULL ^ 0xffULL) * 1099511628211ULL);
}

TEST(ToBase36, Table) {
  const std::pair<uint64_t, std::string> cases[] = {
      {0, "0"},      {9, "9"},
      {10, "a"},     {35, "z"},
      {36, "10"},    {1295, "zz"},
      {1296, "100"}, {std::numeric_limits<uint64_t>::max(), "3w5e11264sgsf"},
  };
  for (const auto& [value, expected] : cases)
    EXPECT_EQ(toBase36(value), expected) << value;
}

TEST(NormalizedSemanticIdentifierComponent, Table) {
  const std::pair<OptText, OptText> cases[] = {
      {std::nullopt, std::nullopt},
      {"", std::nullopt},
      {"   ", std::nullopt},
      {"\n\t \u00a0\u2028", std::nullopt},
      {"  Save \t File\n", "save file"},
      {"Total:\n 42", "total: 42"},
      {"A\u00a0\u00a0B\u3000C\u0085D", "a b c d"},
      {"\u00c4RGER", "\u00e4rger"},
      {"a|b", "a|b"},
      {"\u200bx", "\u200bx"},  // zero width space is not whitespace
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(normalizedSemanticIdentifierComponent(text), expected) << text.value_or("(none)");
  }
}

struct GridCase {
  const char* what;
  std::optional<Box> bbox;
  std::optional<Point> position;
  std::optional<Size> size;
  OptText expected;
};

TEST(QuantizedGeometryComponent, Table) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const GridCase cases[] = {
      {"box", Box{130, 70, 200, 100}, std::nullopt, std::nullopt, "2,1,1,1"},
      {"box wins over position and size", Box{0, 0, 640, 128}, Point{999, 999}, Size{1, 1},
       "0,0,10,2"},
      {"position and size", std::nullopt, Point{130.7, 70.2}, Size{63.9, 30.0}, "2,1,1,1"},
      {"position without size", std::nullopt, Point{1, 1}, std::nullopt, std::nullopt},
      {"size without position", std::nullopt, std::nullopt, Size{1, 1}, std::nullopt},
      {"nothing", std::nullopt, std::nullopt, std::nullopt, std::nullopt},
      {"negatives truncate toward zero", Box{-10, -64, 20, 5}, std::nullopt, std::nullopt,
       "0,-1,1,1"},
      {"left -100", Box{-100, -10, 20, 5}, std::nullopt, std::nullopt, "-1,0,1,1"},
      {"zero and negative extents", Box{128, 128, 128, 0}, std::nullopt, std::nullopt, "2,2,1,1"},
      {"large extents", Box{0, 0, 1920, 1080}, std::nullopt, std::nullopt, "0,0,30,16"},
      {"non-finite position and size count as 0", std::nullopt, Point{nan, inf}, Size{-inf, 200},
       "0,0,1,3"},
      {"negative position", std::nullopt, Point{-130.9, -63.9}, Size{64, 64}, "-2,0,1,1"},
      {"extremes do not overflow",
       Box{std::numeric_limits<int64_t>::min(), 0, std::numeric_limits<int64_t>::max(), 64},
       std::nullopt, std::nullopt, "-144115188075855872,0,288230376151711743,1"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(quantizedGeometryComponent(c.bbox, c.position, c.size), c.expected) << c.what;
  }
}

TEST(QuantizedGeometryComponent, OtherBucketSizes) {
  EXPECT_EQ(quantizedGeometryComponent(Box{130, 70, 200, 100}, std::nullopt, std::nullopt, 10),
            "13,7,7,3");
  // A bucket that is not positive has no grid (instead of dividing by zero).
  EXPECT_EQ(quantizedGeometryComponent(Box{1, 2, 3, 4}, std::nullopt, std::nullopt, 0),
            std::nullopt);
  EXPECT_EQ(quantizedGeometryComponent(Box{1, 2, 3, 4}, std::nullopt, std::nullopt, -1),
            std::nullopt);
}

struct IdentifierCase {
  const char* what;
  std::string role;
  OptText native;
  std::optional<Box> bbox;
  std::optional<Point> position;
  std::optional<Size> size;
  OptText name, description, roleDescription;
  std::string key;
  std::string identifier;
};

std::string identifierOf(const IdentifierCase& c) {
  return stableElementIdentifier(c.role, c.native, c.bbox, c.position, c.size, c.name,
                                 c.description, c.roleDescription);
}

// The worked identifiers; the host holds identifiers computed this way.
const IdentifierCase kWorkedCases[] = {
    {"native identifier", "AXTextField", "email", std::nullopt, std::nullopt, std::nullopt,
     std::nullopt, std::nullopt, std::nullopt, "AXTextField|axid:email", "e3f4x82r5iqozn"},
    {"texts and box", "AXButton", std::nullopt, Box{130, 70, 200, 100}, std::nullopt, std::nullopt,
     "  Save   File ", std::nullopt, "button", "AXButton|semantic:save file|button|grid:2,1,1,1",
     "e1751zg9kujahi"},
    {"position and size only", "AXButton", std::nullopt, std::nullopt, Point{130.7, 70.2},
     Size{63.9, 30.0}, std::nullopt, std::nullopt, std::nullopt, "AXButton|grid:2,1,1,1",
     "e1q7xgxz4la1hh"},
    {"description with a line break, negative box", "AXStaticText", std::nullopt,
     Box{-100, -10, 20, 5}, std::nullopt, std::nullopt, std::nullopt, "Total:\n 42", std::nullopt,
     "AXStaticText|semantic:total: 42|grid:-1,0,1,1", "efef8zeutyt11"},
    {"role alone", "AXGroup", std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
     std::nullopt, std::nullopt, "AXGroup", "e2kintxho2wwrx"},
};

TEST(StableElementIdentifier, WorkedExamples) {
  for (const auto& c : kWorkedCases) {
    EXPECT_EQ(identifierOf(c), c.identifier) << c.what;
    EXPECT_EQ("e" + toBase36(fnv1a64(c.key)), c.identifier) << c.what;
  }
}

// Inputs whose key is known; the identifier must be that of the key.
const IdentifierCase kKeyCases[] = {
    {"native identifier wins over everything", "AXButton", "save", Box{0, 0, 10, 10}, Point{1, 1},
     Size{1, 1}, "Save", "d", "button", "AXButton|axid:save", ""},
    {"blank native identifier counts as absent", "AXButton", " \t\n", Box{0, 0, 10, 10},
     std::nullopt, std::nullopt, "Save", std::nullopt, std::nullopt,
     "AXButton|semantic:save|grid:0,0,1,1", ""},
    {"empty native identifier counts as absent", "AXButton", "", std::nullopt, std::nullopt,
     std::nullopt, std::nullopt, std::nullopt, std::nullopt, "AXButton", ""},
    {"texts in name, description, role description order", "AXCheckBox", std::nullopt, std::nullopt,
     std::nullopt, std::nullopt, "N", "D", "R", "AXCheckBox|semantic:n|d|r", ""},
    {"blank texts are skipped", "AXCheckBox", std::nullopt, std::nullopt, std::nullopt,
     std::nullopt, "  ", "", "R", "AXCheckBox|semantic:r", ""},
    {"pipes are not escaped", "AXCell", std::nullopt, std::nullopt, std::nullopt, std::nullopt,
     "a|b", std::nullopt, std::nullopt, "AXCell|semantic:a|b", ""},
    {"position without size gives no grid", "AXImage", std::nullopt, std::nullopt, Point{5, 5},
     std::nullopt, "Logo", std::nullopt, std::nullopt, "AXImage|semantic:logo", ""},
    {"no role reported", "No role", std::nullopt, std::nullopt, std::nullopt, std::nullopt,
     std::nullopt, std::nullopt, std::nullopt, "No role", ""},
};

TEST(StableElementIdentifier, KeyParts) {
  for (const auto& c : kKeyCases) {
    EXPECT_EQ(identifierOf(c), "e" + toBase36(fnv1a64(c.key))) << c.what;
  }
}

TEST(StableElementIdentifier, StableUnderCaseWhitespaceAndSmallMoves) {
  const std::optional<Box> box = Box{130, 70, 200, 100};
  const std::string reference =
      stableElementIdentifier("AXButton", std::nullopt, box, std::nullopt, std::nullopt,
                              "Save File", std::nullopt, std::nullopt);
  EXPECT_EQ(
      stableElementIdentifier("AXButton", std::nullopt, Box{140, 100, 230, 110}, std::nullopt,
                              std::nullopt, "\tSAVE \u00a0 file\n", std::nullopt, std::nullopt),
      reference);
  // Moving into the next grid cell, or another role, changes it.
  EXPECT_NE(stableElementIdentifier("AXButton", std::nullopt, Box{192, 70, 260, 100}, std::nullopt,
                                    std::nullopt, "Save File", std::nullopt, std::nullopt),
            reference);
  EXPECT_NE(stableElementIdentifier("AXLink", std::nullopt, box, std::nullopt, std::nullopt,
                                    "Save File", std::nullopt, std::nullopt),
            reference);
}

TEST(StableElementIdentifier, AlwaysTheDocumentedShape) {
  const std::regex shape("e[0-9a-z]{1,13}");
  for (const auto& c : kWorkedCases)
    EXPECT_TRUE(std::regex_match(identifierOf(c), shape));
  for (int i = 0; i < 200; ++i) {
    const std::string id =
        stableElementIdentifier("AXRow", std::nullopt, Box{0, i * 64, 10, 10}, std::nullopt,
                                std::nullopt, std::nullopt, std::nullopt, std::nullopt);
    EXPECT_TRUE(std::regex_match(id, shape)) << id;
  }
}

}  // namespace
}  // namespace tessary
