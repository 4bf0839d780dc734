// Plain text helpers that need no Unicode tables.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tessary {

// Spaces and tabs removed at both ends (the window-name comparisons).
std::string_view trimSpacesAndTabs(std::string_view text);
// Splits at every `separator`, dropping empty pieces.
std::vector<std::string_view> splitDroppingEmpty(std::string_view text, char separator);
bool containsText(std::string_view haystack, std::string_view needle);
// ASCII-only lower-casing, for comparisons with fixed ASCII words.
std::string asciiLowercased(std::string_view text);
// Every line feed a space, so that a text from the platform stays on the one
// output line it is written on.
std::string lineFeedsAsSpaces(std::string_view text);

}  // namespace tessary
