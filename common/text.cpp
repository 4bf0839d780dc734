#include "common/text.h"

#include "common/utf8.h"

namespace tessary {

namespace {

// The tab and the space separators (general category Zs), the platform's
// whitespace set without line breaks.
bool isSpaceOrTab(char32_t c) {
  return c == 0x09 || c == 0x20 || c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) ||
         c == 0x202F || c == 0x205F || c == 0x3000;
}

}  // namespace

std::string_view trimSpacesAndTabs(std::string_view text) {
  return trimCodePoints(text, isSpaceOrTab);
}

std::vector<std::string_view> splitDroppingEmpty(std::string_view text, char separator) {
  std::vector<std::string_view> pieces;
  size_t start = 0;
  while (start <= text.size()) {
    size_t stop = text.find(separator, start);
    if (stop == std::string_view::npos) stop = text.size();
    if (stop > start) pieces.push_back(text.substr(start, stop - start));
    start = stop + 1;
  }
  return pieces;
}

bool containsText(std::string_view haystack, std::string_view needle) {
  return haystack.find(needle) != std::string_view::npos;
}

std::string asciiLowercased(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

std::string lineFeedsAsSpaces(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c == '\n') c = ' ';
  }
  return out;
}

}  // namespace tessary
