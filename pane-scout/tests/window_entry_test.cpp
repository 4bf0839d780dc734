// One window description as pane-scout reads it: which values count, which
// descriptions are discarded, and the numbers as CoreFoundation converts
// them.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "pane-scout/window_entry.h"

namespace tessary::panescout {
namespace {

PlistDict editorDescription() {
  return PlistDict{
      {"kCGWindowOwnerPID", 501},
      {"kCGWindowNumber", 11},
      {"kCGWindowOwnerName", "Editor"},
      {"kCGWindowName", "Report"},
      {"kCGWindowLayer", 0},
      {"kCGWindowBounds", PlistDict{{"X", 10.5}, {"Y", 20}, {"Width", 300.0}, {"Height", 200}}}};
}

const WindowEntry kEditor{501, 11, "Editor", "Report", 10.5, 20, 300, 200, 0};

struct EntryCase {
  const char* name;
  const char* key;
  std::optional<PlistValue> value;  // nothing: the key is taken out
  std::optional<WindowEntry> expected;
};

void PrintTo(const EntryCase& c, std::ostream* os) {
  *os << c.name;
}

WindowEntry editorWith(void (*change)(WindowEntry&)) {
  WindowEntry entry = kEditor;
  change(entry);
  return entry;
}

class Entries : public ::testing::TestWithParam<EntryCase> {};

TEST_P(Entries, ReadAsTheCastsOfTheEntryDo) {
  const EntryCase& c = GetParam();
  PlistDict description = editorDescription();
  if (c.value) {
    description[c.key] = *c.value;
  } else {
    description.erase(c.key);
  }
  EXPECT_EQ(windowEntryFrom(PlistValue(description)), c.expected);
}

const PlistValue kHuge = PlistValue(1e300);
const PlistValue kNaN = PlistValue(std::numeric_limits<double>::quiet_NaN());

PlistValue boundsWith(const char* key, PlistValue value) {
  PlistDict bounds{{"X", 10.5}, {"Y", 20}, {"Width", 300.0}, {"Height", 200}};
  bounds[key] = std::move(value);
  return PlistValue(bounds);
}

INSTANTIATE_TEST_SUITE_P(
    Descriptions, Entries,
    ::testing::Values(
        EntryCase{"complete", "kCGWindowAlpha", PlistValue(1.0), kEditor},
        EntryCase{"noPid", "kCGWindowOwnerPID", std::nullopt, std::nullopt},
        EntryCase{"pidAsText", "kCGWindowOwnerPID", PlistValue("501"), std::nullopt},
        EntryCase{"pidPast32Bits", "kCGWindowOwnerPID", PlistValue(int64_t{2147483648}),
                  std::nullopt},
        EntryCase{"pidWholeReal", "kCGWindowOwnerPID", PlistValue(501.0), kEditor},
        EntryCase{"pidFractional", "kCGWindowOwnerPID", PlistValue(501.5), std::nullopt},
        EntryCase{"noOwner", "kCGWindowOwnerName", std::nullopt, std::nullopt},
        EntryCase{"ownerAsNumber", "kCGWindowOwnerName", PlistValue(3), std::nullopt},
        EntryCase{"noBounds", "kCGWindowBounds", std::nullopt, std::nullopt},
        EntryCase{"boundsNotAMap", "kCGWindowBounds", PlistValue(PlistArray{1, 2, 3, 4}),
                  std::nullopt},
        EntryCase{"boundsWithAText", "kCGWindowBounds", boundsWith("Height", "200"), std::nullopt},
        EntryCase{"boundsWithAnExtraNumber", "kCGWindowBounds", boundsWith("Depth", 3), kEditor},
        EntryCase{"boundsWithABoolean", "kCGWindowBounds", boundsWith("Depth", true), std::nullopt},
        EntryCase{"boundsNotFinite", "kCGWindowBounds", boundsWith("X", kNaN), std::nullopt},
        EntryCase{"boundsPast64Bits", "kCGWindowBounds", boundsWith("Width", kHuge), std::nullopt},
        EntryCase{"boundsLargestThatFits", "kCGWindowBounds",
                  boundsWith("Width", 9223372036854774784.0),
                  editorWith([](WindowEntry& e) { e.w = 9223372036854774784.0; })},
        EntryCase{"boundsMemberMissingIsZero", "kCGWindowBounds",
                  PlistValue(PlistDict{{"X", 1}, {"Y", 2}, {"Width", 3}}),
                  editorWith([](WindowEntry& e) { e.x = 1, e.y = 2, e.w = 3, e.h = 0; })},
        EntryCase{"numberLargestUnsigned", "kCGWindowNumber", PlistValue(int64_t{4294967295}),
                  editorWith([](WindowEntry& e) { e.cgWindowId = 4294967295u; })},
        EntryCase{"numberNegative", "kCGWindowNumber", PlistValue(-1),
                  editorWith([](WindowEntry& e) { e.cgWindowId = 0; })},
        EntryCase{"numberPast32Bits", "kCGWindowNumber", PlistValue(int64_t{4294967296}),
                  editorWith([](WindowEntry& e) { e.cgWindowId = 0; })},
        EntryCase{"numberWholeReal", "kCGWindowNumber", PlistValue(7.0),
                  editorWith([](WindowEntry& e) { e.cgWindowId = 7; })},
        EntryCase{"numberFractional", "kCGWindowNumber", PlistValue(7.5),
                  editorWith([](WindowEntry& e) { e.cgWindowId = 0; })},
        EntryCase{"numberAsText", "kCGWindowNumber", PlistValue("7"),
                  editorWith([](WindowEntry& e) { e.cgWindowId = 0; })},
        EntryCase{"noNumber", "kCGWindowNumber", std::nullopt,
                  editorWith([](WindowEntry& e) { e.cgWindowId = 0; })},
        EntryCase{"titleTrimmed", "kCGWindowName", PlistValue(" \t Report\n\u2028"), kEditor},
        EntryCase{"titleInsideKept", "kCGWindowName", PlistValue("Re\nport"),
                  editorWith([](WindowEntry& e) { e.title = "Re\nport"; })},
        EntryCase{"noTitle", "kCGWindowName", std::nullopt,
                  editorWith([](WindowEntry& e) { e.title = ""; })},
        EntryCase{"titleAsNumber", "kCGWindowName", PlistValue(5),
                  editorWith([](WindowEntry& e) { e.title = ""; })},
        EntryCase{"layerWholeReal", "kCGWindowLayer", PlistValue(25.0),
                  editorWith([](WindowEntry& e) { e.layer = 25; })},
        EntryCase{"layerFractional", "kCGWindowLayer", PlistValue(24.5), kEditor},
        EntryCase{"layerAsText", "kCGWindowLayer", PlistValue("25"), kEditor},
        EntryCase{"noLayer", "kCGWindowLayer", std::nullopt, kEditor}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tessary::panescout
