// Loose title comparison used to pair accessibility windows with
// window-server windows.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "scene-census/capture/window_titles.h"

namespace tessary {
namespace {

struct NormalizeCase {
  std::string title;
  std::string expected;
};

class NormalizedTitle : public ::testing::TestWithParam<NormalizeCase> {};

TEST_P(NormalizedTitle, Normalizes) {
  EXPECT_EQ(normalizedTitle(GetParam().title), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, NormalizedTitle,
    ::testing::Values(NormalizeCase{"Inbox - Mail - Google Chrome", "inbox mail"},
                      NormalizeCase{"Inbox - Mail", "inbox mail"},
                      NormalizeCase{"Docs - Chromium", "docs"},
                      NormalizeCase{"Page - Chrome Beta - Profile 2", "page"},
                      // Only the browser suffix goes, not a name inside the title.
                      NormalizeCase{"google chrome - Help", "google chrome help"},
                      NormalizeCase{"  Hello,\t World!!  \n", "hello world"},
                      NormalizeCase{"Report 2024 \u2014 Final", "report 2024 final"},
                      NormalizeCase{"\u00dcBER Stra\u00dfe", "\u00fcber stra\u00dfe"},
                      NormalizeCase{"Line\nTwo", "line two"},
                      // Lower-cased before the suffixes go; only a plain hyphen
                      // introduces one.
                      NormalizeCase{"Docs - GOOGLE CHROME", "docs"},
                      NormalizeCase{"Mail \u2013 Chromium", "mail chromium"},
                      NormalizeCase{"Inbox (3) - Mail - Google Chrome - Work", "inbox 3 mail"},
                      NormalizeCase{"\u5831\u544a\u66f8 2024", "\u5831\u544a\u66f8 2024"},
                      NormalizeCase{"--- ***", ""}, NormalizeCase{"", ""}));

TEST(TitleTokenSet, DistinctWordsOfTheNormalizedTitle) {
  EXPECT_EQ(titleTokenSet("Inbox - Mail, inbox"), (std::set<std::string>{"inbox", "mail"}));
  EXPECT_TRUE(titleTokenSet(" -- ").empty());
}

struct MatchCase {
  std::string a, b;
  bool expected;
};

class TitlesRoughlyMatch : public ::testing::TestWithParam<MatchCase> {};

TEST_P(TitlesRoughlyMatch, BothWaysRound) {
  const MatchCase& c = GetParam();
  EXPECT_EQ(titlesRoughlyMatch(c.a, c.b), c.expected) << c.a << " / " << c.b;
  EXPECT_EQ(titlesRoughlyMatch(c.b, c.a), c.expected) << c.b << " / " << c.a;
  EXPECT_EQ(titlesRoughlyMatch(comparableTitle(c.a), comparableTitle(c.b)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TitlesRoughlyMatch,
    ::testing::Values(MatchCase{"Inbox - Mail - Google Chrome", "Inbox - Mail", true},
                      MatchCase{"Quarterly Report Q3 Draft", "Q3 Quarterly Report Final", true},
                      MatchCase{"Report", "Report Final", true},
                      // The substring rule works on text, not on words.
                      MatchCase{"port", "Annual Report", true}, MatchCase{"Notes", "Todo", false},
                      MatchCase{"", "", false}, MatchCase{"!!!", "Notes", false},
                      // Two-word titles need both words; longer ones need three.
                      MatchCase{"alpha beta", "beta alpha", true},
                      MatchCase{"alpha beta", "beta gamma alpha delta", true},
                      MatchCase{"alpha beta gamma", "gamma beta delta", false},
                      MatchCase{"alpha beta gamma delta", "delta x gamma y beta", true},
                      MatchCase{"alpha", "beta alpha gamma x", true},
                      MatchCase{"alpha", "alphabet", true}, MatchCase{"one", "two", false},
                      // Accented and plain letters differ; other scripts are letters too.
                      MatchCase{"Caf\u00e9 Menu", "Cafe Menu", false},
                      MatchCase{"\u5831\u544a\u66f8 2024", "\u5831\u544a\u66f8", true},
                      MatchCase{"Budget.xlsx", "budget xlsx", true},
                      // Text containment pairs numbered windows loosely, words do not.
                      MatchCase{"Document 1", "Document 10", true},
                      MatchCase{"Chapter 0", "Chapter 10", false},
                      MatchCase{"Mail \u2013 Chromium", "Mail", true}));

}  // namespace
}  // namespace tessary
