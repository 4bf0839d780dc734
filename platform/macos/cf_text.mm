#include "platform/macos/cf_text.h"

#include <vector>

#include "common/utf8.h"
#include "platform/macos/utf16_text.h"

namespace tessary::macos {

namespace {

CFRef<CFStringRef> stringFromWellFormedUtf8(std::string_view text) {
  return CFRef<CFStringRef>::adopt(
      CFStringCreateWithBytes(kCFAllocatorDefault, reinterpret_cast<const UInt8*>(text.data()),
                              static_cast<CFIndex>(text.size()), kCFStringEncodingUTF8, false));
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
    for (char c : text) {
      if (static_cast<unsigned char>(c) >= 0x80) ascii = false;
    }
    if (ascii && static_cast<CFIndex>(text.size()) == length) return text;
  }
  std::vector<UniChar> units(static_cast<size_t>(length));
  CFStringGetCharacters(string, CFRangeMake(0, length), units.data());
  return utf8FromUtf16(units);
}

CFRef<CFStringRef> cfStringFromUtf8(std::string_view text) {
  CFRef<CFStringRef> direct = stringFromWellFormedUtf8(text);
  if (direct) return direct;
  return stringFromWellFormedUtf8(sanitizedUtf8(text));
}

}  // namespace tessary::macos
