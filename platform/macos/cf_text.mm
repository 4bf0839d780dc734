#include "platform/macos/cf_text.h"

#include <vector>

#include "common/utf8.h"

namespace tessary::macos {

namespace {

CFRef<CFStringRef> stringFromWellFormedUtf8(std::string_view text) {
  return CFRef<CFStringRef>::adopt(
      CFStringCreateWithBytes(kCFAllocatorDefault, reinterpret_cast<const UInt8*>(text.data()),
                              static_cast<CFIndex>(text.size()), kCFStringEncodingUTF8, false));
}

bool isHighSurrogate(UniChar unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}
bool isLowSurrogate(UniChar unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

std::string utf8FromCFString(CFStringRef string) {
  if (!string) return {};
  CFIndex length = CFStringGetLength(string);
  if (const char* fast = CFStringGetCStringPtr(string, kCFStringEncodingUTF8)) {
    // Taken only for plain ASCII without NUL: then bytes and UTF-16 units
    // correspond one to one, so a length match proves nothing was cut off.
    std::string text(fast);
    bool ascii = true;
    for (char c : text)
      ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii && static_cast<CFIndex>(text.size()) == length) return text;
  }
  std::vector<UniChar> units(static_cast<size_t>(length));
  CFStringGetCharacters(string, CFRangeMake(0, length), units.data());
  std::string out;
  out.reserve(units.size());
  for (size_t i = 0; i < units.size(); ++i) {
    UniChar unit = units[i];
    if (isHighSurrogate(unit) && i + 1 < units.size() && isLowSurrogate(units[i + 1])) {
      appendUtf8(out, 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (units[i + 1] - 0xDC00));
      ++i;
    } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
      appendUtf8(out, kReplacementCharacter);
    } else {
      appendUtf8(out, unit);
    }
  }
  return out;
}

CFRef<CFStringRef> cfStringFromUtf8(std::string_view text) {
  CFRef<CFStringRef> direct = stringFromWellFormedUtf8(text);
  if (direct) return direct;
  return stringFromWellFormedUtf8(sanitizedUtf8(text));
}

}  // namespace tessary::macos
