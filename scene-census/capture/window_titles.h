// Loose comparison of window titles, used to tell which window-server window an
// accessibility window is.
#pragma once

#include <set>
#include <string>
#include <string_view>

namespace tessary {

// Trimmed, lower-cased, browser suffixes removed, and every run of
// non-letters-or-digits made one space.
std::string normalizedTitle(std::string_view title);
// The words of the normalized title.
std::set<std::string> titleTokenSet(std::string_view title);
bool titlesRoughlyMatch(std::string_view a, std::string_view b);

// A title prepared once for many comparisons (the normalization runs regular
// expressions, and pairing compares every window with every index entry).
struct ComparableTitle {
  std::string normalized;
  std::set<std::string> tokens;
};
ComparableTitle comparableTitle(std::string_view title);
bool titlesRoughlyMatch(const ComparableTitle& a, const ComparableTitle& b);

}  // namespace tessary
