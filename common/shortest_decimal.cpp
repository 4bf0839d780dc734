// The platform choice of this file: libstdc++ and recent libc++ have a
// shortest round-trip std::to_chars for double, but the libc++ of the macOS
// releases the suite supports does not. There, printf's correctly rounded
// "%.*e" is tried with 1 to 17 significant digits until the text reads back to
// the same value. TESSARY_PRINTF_SHORTEST_DECIMAL selects that path elsewhere
// so that tests can check it.
#include "common/shortest_decimal.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

#if defined(__APPLE__) && !defined(TESSARY_PRINTF_SHORTEST_DECIMAL)
#define TESSARY_PRINTF_SHORTEST_DECIMAL 1
#endif

#if !defined(TESSARY_PRINTF_SHORTEST_DECIMAL)
#include <charconv>
#endif

namespace tessary {

namespace {

// Reads text of the form "-d.ddde+XX" (printf's and to_chars' scientific form).
ShortestDecimal fromScientific(std::string_view text) {
  ShortestDecimal result;
  size_t index = 0;
  if (index < text.size() && text[index] == '-') {
    result.negative = true;
    ++index;
  }
  for (; index < text.size() && text[index] != 'e'; ++index) {
    if (text[index] != '.') result.digits.push_back(text[index]);
  }
  if (index < text.size()) result.exponent = std::atoi(std::string(text.substr(index + 1)).c_str());
  while (result.digits.size() > 1 && result.digits.back() == '0')
    result.digits.pop_back();
  if (result.digits == "0") result.exponent = 0;
  return result;
}

}  // namespace

#if defined(TESSARY_PRINTF_SHORTEST_DECIMAL)

ShortestDecimal shortestDecimal(double value) {
  char buffer[40];
  for (int precision = 0; precision < 17; ++precision) {
    std::snprintf(buffer, sizeof buffer, "%.*e", precision, value);
    if (std::strtod(buffer, nullptr) == value) return fromScientific(buffer);
  }
  // Seventeen significant digits always read back.
  std::snprintf(buffer, sizeof buffer, "%.16e", value);
  return fromScientific(buffer);
}

#else

ShortestDecimal shortestDecimal(double value) {
  char buffer[40];
  const std::to_chars_result result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
  return fromScientific(std::string_view(buffer, static_cast<size_t>(result.ptr - buffer)));
}

#endif

}  // namespace tessary
