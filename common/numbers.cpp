#include "common/numbers.h"

#include <cstdlib>
#include <limits>
#include <string>

namespace tessary {

namespace {

// Sign and digits of a strict decimal integer; the magnitude saturates at the
// largest 64-bit value so that any overflow is seen by the caller.
struct SignedMagnitude {
  bool negative = false;
  uint64_t magnitude = 0;
};

std::optional<SignedMagnitude> parseMagnitude(std::string_view text) {
  SignedMagnitude result;
  size_t index = 0;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    result.negative = text[0] == '-';
    index = 1;
  }
  if (index == text.size()) return std::nullopt;
  for (; index < text.size(); ++index) {
    const char c = text[index];
    if (c < '0' || c > '9') return std::nullopt;
    constexpr uint64_t saturated = std::numeric_limits<uint64_t>::max();
    if (result.magnitude > (saturated - 9) / 10) {
      result.magnitude = saturated;
    } else {
      result.magnitude = result.magnitude * 10 + static_cast<uint64_t>(c - '0');
    }
  }
  return result;
}

template <typename Signed>
std::optional<Signed> parseSigned(std::string_view text) {
  constexpr uint64_t maxPositive = static_cast<uint64_t>(std::numeric_limits<Signed>::max());
  std::optional<SignedMagnitude> parsed = parseMagnitude(text);
  if (!parsed) return std::nullopt;
  if (parsed->negative) {
    if (parsed->magnitude > maxPositive + 1) return std::nullopt;
    if (parsed->magnitude == maxPositive + 1) return std::numeric_limits<Signed>::min();
    return static_cast<Signed>(-static_cast<Signed>(parsed->magnitude));
  }
  if (parsed->magnitude > maxPositive) return std::nullopt;
  return static_cast<Signed>(parsed->magnitude);
}

}  // namespace

std::optional<int32_t> parseInt32(std::string_view text) {
  return parseSigned<int32_t>(text);
}

std::optional<int64_t> parseInt64(std::string_view text) {
  return parseSigned<int64_t>(text);
}

std::optional<uint32_t> parseUInt32(std::string_view text) {
  constexpr uint64_t max = std::numeric_limits<uint32_t>::max();
  std::optional<SignedMagnitude> parsed = parseMagnitude(text);
  if (!parsed || parsed->magnitude > max) return std::nullopt;
  // "-0" is zero; any other negative value does not fit.
  if (parsed->negative && parsed->magnitude != 0) return std::nullopt;
  return static_cast<uint32_t>(parsed->magnitude);
}

std::optional<double> parseDouble(std::string_view text) {
  // strtod would skip leading whitespace; this reader takes the text as it is.
  if (text.empty()) return std::nullopt;
  const char first = text.front();
  if (first == ' ' || (first >= '\t' && first <= '\r')) return std::nullopt;
  // A copy gives strtod its terminator; an embedded NUL then stops it early
  // and the text counts as not consumed.
  const std::string copy(text);
  char* end = nullptr;
  const double value = std::strtod(copy.c_str(), &end);
  if (end != copy.c_str() + copy.size()) return std::nullopt;
  return value;
}

}  // namespace tessary
