// Whitespace trimming and lower-casing over ICU's character properties and
// case mapping.
#include <unicode/uchar.h>
#include <unicode/ustring.h>
#include <unicode/utypes.h>

#include <vector>

#include "common/unicode.h"
#include "common/unicode_internal.h"
#include "common/utf8.h"

namespace tessary {

namespace {

bool isWhitespaceOrNewline(char32_t c) {
  if (c < 0x80) return c == ' ' || (c >= 0x09 && c <= 0x0D);
  return u_isUWhiteSpace(static_cast<UChar32>(c));
}

bool isAscii(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

}  // namespace

std::string_view trimWhitespaceAndNewlines(std::string_view text) {
  return trimCodePoints(text, isWhitespaceOrNewline);
}

IcuString toUtf16(std::string_view text) {
  IcuString out;
  if (text.empty()) return out;
  UErrorCode status = U_ZERO_ERROR;
  int32_t length = 0;
  // Ill-formed bytes become U+FFFD.
  u_strFromUTF8WithSub(nullptr, 0, &length, text.data(), static_cast<int32_t>(text.size()), 0xFFFD,
                       nullptr, &status);
  if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) return out;
  out.resize(static_cast<size_t>(length));
  status = U_ZERO_ERROR;
  u_strFromUTF8WithSub(out.data(), length, nullptr, text.data(), static_cast<int32_t>(text.size()),
                       0xFFFD, nullptr, &status);
  if (U_FAILURE(status)) out.clear();
  return out;
}

std::string toUtf8(const IcuString& text) {
  std::string out;
  if (text.empty()) return out;
  UErrorCode status = U_ZERO_ERROR;
  int32_t length = 0;
  u_strToUTF8WithSub(nullptr, 0, &length, text.data(), static_cast<int32_t>(text.size()), 0xFFFD,
                     nullptr, &status);
  if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) return out;
  out.resize(static_cast<size_t>(length));
  status = U_ZERO_ERROR;
  u_strToUTF8WithSub(out.data(), length, nullptr, text.data(), static_cast<int32_t>(text.size()),
                     0xFFFD, nullptr, &status);
  if (U_FAILURE(status)) out.clear();
  return out;
}

std::string lowercased(std::string_view text) {
  // ASCII maps to ASCII under the full mapping too; most keys and titles are
  // ASCII, so they skip the round trip through UTF-16.
  if (isAscii(text)) {
    std::string out(text);
    for (char& c : out) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
  }
  const IcuString source = toUtf16(text);
  IcuString lower(source.size(), UChar{0});
  UErrorCode status = U_ZERO_ERROR;
  int32_t length = u_strToLower(lower.data(), static_cast<int32_t>(lower.size()), source.data(),
                                static_cast<int32_t>(source.size()), "", &status);
  if (status == U_BUFFER_OVERFLOW_ERROR) {
    // Some characters lower-case to longer sequences (U+0130 gives two).
    lower.resize(static_cast<size_t>(length));
    status = U_ZERO_ERROR;
    length = u_strToLower(lower.data(), length, source.data(), static_cast<int32_t>(source.size()),
                          "", &status);
  }
  if (U_FAILURE(status)) return sanitizedUtf8(text);
  lower.resize(static_cast<size_t>(length));
  return toUtf8(lower);
}

}  // namespace tessary
