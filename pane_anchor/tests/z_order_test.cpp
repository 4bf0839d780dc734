// The walk over the on-screen window list.
#include <gtest/gtest.h>

#include "pane_anchor/z_order.h"

namespace tessary::anchor {
namespace {

PlistValue window(int64_t number, const char* owner, int64_t layer) {
  return PlistValue(PlistDict{
      {"kCGWindowNumber", number}, {"kCGWindowOwnerName", owner}, {"kCGWindowLayer", layer}});
}

const PlistArray kList = {window(40, "Window Server", 24), window(301, "Mail", 0),
                          window(302, "Notes", 0), window(501, "Tessary", 0),
                          window(303, "Finder", 0)};

TEST(ZOrderPlace, FrontmostWindowHasNothingAbove) {
  EXPECT_EQ(findZOrderPlace(kList, 40), (ZOrderPlace{0, {}}));
}

TEST(ZOrderPlace, ListsTheWindowsInFrontFrontmostFirst) {
  EXPECT_EQ(findZOrderPlace(kList, 501),
            (ZOrderPlace{3, {{40, "Window Server", 24}, {301, "Mail", 0}, {302, "Notes", 0}}}));
}

TEST(ZOrderPlace, AWindowNotInTheListGetsMinusOneAndEveryWindow) {
  ZOrderPlace place = findZOrderPlace(kList, 777);
  EXPECT_EQ(place.index, -1);
  ASSERT_EQ(place.windowsAbove.size(), kList.size());
  EXPECT_EQ(place.windowsAbove.back(), (WindowAbove{303, "Finder", 0}));
}

TEST(ZOrderPlace, NoListGivesMinusOneAndNothingAbove) {
  EXPECT_EQ(findZOrderPlace(std::nullopt, 501), (ZOrderPlace{-1, {}}));
  EXPECT_EQ(findZOrderPlace(PlistArray{}, 501), (ZOrderPlace{-1, {}}));
}

TEST(ZOrderPlace, EntriesWithoutANumberCountButAreNotListed) {
  const PlistArray list = {
      PlistValue(PlistDict{{"kCGWindowOwnerName", "Ghost"}}), window(301, "Mail", 0),
      // a number of the wrong kind is no number
      PlistValue(PlistDict{{"kCGWindowNumber", "501"}}),
      PlistValue(PlistDict{{"kCGWindowNumber", true}}),
      PlistValue(PlistDict{{"kCGWindowNumber", 501.5}}), window(501, "Tessary", 0)};
  EXPECT_EQ(findZOrderPlace(list, 501), (ZOrderPlace{5, {{301, "Mail", 0}}}));
}

TEST(ZOrderPlace, MissingOrMistypedOwnerAndLayerTakeTheirDefaults) {
  const PlistArray list = {
      PlistValue(PlistDict{{"kCGWindowNumber", 7}}),
      PlistValue(
          PlistDict{{"kCGWindowNumber", 8}, {"kCGWindowOwnerName", 12}, {"kCGWindowLayer", "3"}}),
      PlistValue(PlistDict{{"kCGWindowNumber", 9.0}, {"kCGWindowLayer", 25.0}}),
      PlistValue(PlistDict{{"kCGWindowNumber", 10}, {"kCGWindowOwnerName", "Ünïcødé ✓"}}),
      window(501, "Tessary", 0)};
  EXPECT_EQ(findZOrderPlace(list, 501),
            (ZOrderPlace{4, {{7, "", 0}, {8, "", 0}, {9, "", 25}, {10, "Ünïcødé ✓", 0}}}));
}

TEST(ZOrderPlace, StopsAtTheFirstMatch) {
  const PlistArray list = {window(501, "Tessary", 0), window(501, "Tessary", 3)};
  EXPECT_EQ(findZOrderPlace(list, 501), (ZOrderPlace{0, {}}));
}

}  // namespace
}  // namespace tessary::anchor
