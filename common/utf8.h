// UTF-8 decoding shared by the JSON writer and the Unicode helpers; needs no
// Unicode tables.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tessary {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;
// Marks an ill-formed sequence in decodeUtf8's result.
inline constexpr char32_t kIllFormed = 0xFFFFFFFF;

// Decodes the code point starting at `index` and moves `index` past it. An
// ill-formed sequence gives kIllFormed and moves past its maximal subpart, so
// each subpart becomes one U+FFFD (the Unicode recommended practice).
char32_t decodeUtf8(std::string_view text, size_t& index);
void appendUtf8(std::string& out, char32_t codePoint);
// `text` with every ill-formed subpart replaced by U+FFFD.
std::string sanitizedUtf8(std::string_view text);
// Where the well-formed code point that ends at `end` starts, or npos when
// the bytes before `end` do not end one.
size_t lastCodePointStart(std::string_view text, size_t end);

// `text` without the code points at both ends for which `isTrimmed` holds.
// Ill-formed bytes are never trimmed and stop the trimming.
template <typename Predicate>
std::string_view trimCodePoints(std::string_view text, Predicate isTrimmed) {
  size_t begin = 0;
  while (begin < text.size()) {
    size_t next = begin;
    const char32_t c = decodeUtf8(text, next);
    if (c == kIllFormed || !isTrimmed(c)) break;
    begin = next;
  }
  size_t end = text.size();
  while (end > begin) {
    const size_t start = lastCodePointStart(text, end);
    if (start == std::string_view::npos || start < begin) break;
    size_t index = start;
    if (!isTrimmed(decodeUtf8(text, index))) break;
    end = start;
  }
  return text.substr(begin, end - begin);
}

}  // namespace tessary
