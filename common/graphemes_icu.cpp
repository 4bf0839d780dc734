// Grapheme clusters with ICU's character break iterator (Linux).
#include <unicode/ubrk.h>
#include <unicode/utext.h>

#include <memory>

#include "common/unicode.h"
#include "common/utf8.h"

namespace tessary {

namespace {

struct BreakIteratorCloser {
  void operator()(UBreakIterator* iterator) const { ubrk_close(iterator); }
};

}  // namespace

size_t graphemeClusterCount(std::string_view text) {
  if (text.empty()) return 0;
  // Each ill-formed subpart counts as one U+FFFD, as everywhere else.
  const std::string checked = isValidUtf8(text) ? std::string() : sanitizedUtf8(text);
  const std::string_view source = checked.empty() ? text : std::string_view(checked);
  UErrorCode status = U_ZERO_ERROR;
  UText* utext =
      utext_openUTF8(nullptr, source.data(), static_cast<int64_t>(source.size()), &status);
  if (U_FAILURE(status)) return 0;
  std::unique_ptr<UBreakIterator, BreakIteratorCloser> iterator(
      ubrk_open(UBRK_CHARACTER, "", nullptr, 0, &status));
  if (U_SUCCESS(status)) ubrk_setUText(iterator.get(), utext, &status);
  size_t count = 0;
  if (U_SUCCESS(status)) {
    while (ubrk_next(iterator.get()) != UBRK_DONE)
      ++count;
  }
  iterator.reset();
  utext_close(utext);
  return count;
}

}  // namespace tessary
