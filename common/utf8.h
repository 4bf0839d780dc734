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

}  // namespace tessary
