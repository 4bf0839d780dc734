#include "common/utf8.h"

#include "common/unicode.h"

namespace tessary {

namespace {

bool isContinuation(unsigned char byte, unsigned char low = 0x80, unsigned char high = 0xBF) {
  return byte >= low && byte <= high;
}

}  // namespace

char32_t decodeUtf8(std::string_view text, size_t& index) {
  if (static_cast<unsigned char>(text[index]) < 0x80)
    return static_cast<unsigned char>(text[index++]);
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(index);
  if (lead < 0x80) {
    ++index;
    return lead;
  }
  size_t length;
  char32_t codePoint;
  // The allowed range of the second byte excludes overlong forms, surrogates
  // and values beyond U+10FFFF.
  unsigned char secondLow = 0x80, secondHigh = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    codePoint = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    codePoint = lead & 0x0F;
    if (lead == 0xE0) secondLow = 0xA0;
    if (lead == 0xED) secondHigh = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    codePoint = lead & 0x07;
    if (lead == 0xF0) secondLow = 0x90;
    if (lead == 0xF4) secondHigh = 0x8F;
  } else {
    ++index;
    return kIllFormed;
  }
  size_t next = index + 1;
  for (size_t k = 1; k < length; ++k, ++next) {
    const bool ok =
        next < text.size() &&
        (k == 1 ? isContinuation(byte(next), secondLow, secondHigh) : isContinuation(byte(next)));
    if (!ok) {
      index = next;
      return kIllFormed;
    }
    codePoint = (codePoint << 6) | (byte(next) & 0x3F);
  }
  index = next;
  return codePoint;
}

void appendUtf8(std::string& out, char32_t codePoint) {
  if (codePoint < 0x80) {
    out.push_back(static_cast<char>(codePoint));
  } else if (codePoint < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  } else if (codePoint < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
    out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
    out.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  }
}

std::string sanitizedUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t index = 0;
  while (index < text.size()) {
    const size_t start = index;
    const char32_t codePoint = decodeUtf8(text, index);
    if (codePoint == kIllFormed) {
      appendUtf8(out, kReplacementCharacter);
    } else {
      out.append(text.substr(start, index - start));
    }
  }
  return out;
}

size_t lastCodePointStart(std::string_view text, size_t end) {
  if (end == 0) return std::string_view::npos;
  if (static_cast<unsigned char>(text[end - 1]) < 0x80) return end - 1;
  // A lead byte is never a continuation byte, so decoding forward from it
  // groups the bytes as a scan from the start of the text would.
  size_t start = end;
  while (start > 0 && end - start < 4) {
    --start;
    if ((static_cast<unsigned char>(text[start]) & 0xC0) != 0x80) break;
  }
  size_t index = start;
  if (decodeUtf8(text, index) == kIllFormed || index != end) return std::string_view::npos;
  return start;
}

bool isValidUtf8(std::string_view text) {
  size_t index = 0;
  while (index < text.size()) {
    if (decodeUtf8(text, index) == kIllFormed) return false;
  }
  return true;
}

}  // namespace tessary
