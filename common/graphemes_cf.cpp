// Grapheme clusters with CoreFoundation's composed character sequences
// (macOS, whose SDK has no ICU break iterators).
#include <CoreFoundation/CoreFoundation.h>

#include "common/unicode.h"
#include "common/utf8.h"

namespace tessary {

size_t graphemeClusterCount(std::string_view text) {
  if (text.empty()) return 0;
  // CoreFoundation refuses ill-formed UTF-8; each ill-formed subpart counts as
  // one U+FFFD, as everywhere else.
  const std::string checked = isValidUtf8(text) ? std::string() : sanitizedUtf8(text);
  const std::string_view source = checked.empty() ? text : std::string_view(checked);
  CFStringRef string = CFStringCreateWithBytesNoCopy(
      kCFAllocatorDefault, reinterpret_cast<const UInt8*>(source.data()),
      static_cast<CFIndex>(source.size()), kCFStringEncodingUTF8, false, kCFAllocatorNull);
  if (!string) return 0;
  const CFIndex length = CFStringGetLength(string);
  size_t count = 0;
  for (CFIndex index = 0; index < length; ++count) {
    const CFRange range = CFStringGetRangeOfComposedCharactersAtIndex(string, index);
    index = range.location + (range.length > 0 ? range.length : 1);
  }
  CFRelease(string);
  return count;
}

}  // namespace tessary
