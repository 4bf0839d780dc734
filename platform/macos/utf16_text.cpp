#include "platform/macos/utf16_text.h"

#include "common/utf8.h"

namespace tessary::macos {

namespace {
bool isHighSurrogate(uint16_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}
bool isLowSurrogate(uint16_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}
}  // namespace

std::string utf8FromUtf16(std::span<const uint16_t> units) {
  std::string out;
  out.reserve(units.size());
  for (size_t i = 0; i < units.size(); ++i) {
    char32_t unit = units[i];
    if (isHighSurrogate(units[i]) && i + 1 < units.size() && isLowSurrogate(units[i + 1])) {
      appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (char32_t{units[i + 1]} - 0xDC00));
      ++i;
    } else if (isHighSurrogate(units[i]) || isLowSurrogate(units[i])) {
      appendUtf8(out, kReplacementCharacter);
    } else {
      appendUtf8(out, unit);
    }
  }
  return out;
}

}  // namespace tessary::macos
