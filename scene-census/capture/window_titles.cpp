#include "scene-census/capture/window_titles.h"

#include <algorithm>
#include <array>

#include "common/text.h"
#include "common/unicode.h"

namespace tessary {

namespace {

// Browser names that windows append to the page title.
constexpr std::array<std::string_view, 3> kBrowserSuffixPatterns = {
    " - google chrome.*$", " - chromium.*$", " - chrome.*$"};
constexpr std::string_view kNonWordRunPattern = "[^\\p{L}\\p{N}]+";
constexpr std::string_view kWhitespaceRunPattern = "\\s+";

std::set<std::string> tokensOfNormalized(std::string_view normalized) {
  std::set<std::string> tokens;
  for (std::string_view piece : splitDroppingEmpty(normalized, ' '))
    tokens.emplace(piece);
  return tokens;
}

}  // namespace

std::string normalizedTitle(std::string_view title) {
  std::string text = lowercased(trimWhitespaceAndNewlines(title));
  for (std::string_view pattern : kBrowserSuffixPatterns) {
    text = regexReplaceAll(text, pattern, "");
  }
  text = regexReplaceAll(text, kNonWordRunPattern, " ");
  text = regexReplaceAll(text, kWhitespaceRunPattern, " ");
  return std::string(trimWhitespaceAndNewlines(text));
}

std::set<std::string> titleTokenSet(std::string_view title) {
  return tokensOfNormalized(normalizedTitle(title));
}

ComparableTitle comparableTitle(std::string_view title) {
  ComparableTitle result;
  result.normalized = normalizedTitle(title);
  result.tokens = tokensOfNormalized(result.normalized);
  return result;
}

bool titlesRoughlyMatch(const ComparableTitle& a, const ComparableTitle& b) {
  if (a.normalized.empty() || b.normalized.empty()) return false;
  if (a.normalized == b.normalized) return true;
  if (containsText(a.normalized, b.normalized) || containsText(b.normalized, a.normalized)) {
    return true;
  }
  if (a.tokens.empty() || b.tokens.empty()) return false;
  size_t common = 0;
  for (const std::string& token : a.tokens)
    common += b.tokens.count(token);
  size_t needed = std::min(a.tokens.size(), b.tokens.size()) > 2 ? 3 : 2;
  return common >= needed;
}

bool titlesRoughlyMatch(std::string_view a, std::string_view b) {
  return titlesRoughlyMatch(comparableTitle(a), comparableTitle(b));
}

}  // namespace tessary
