#include "scene-census/serialize/number_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <variant>

namespace tessary {

namespace {

void appendDouble(double number, std::string& out) {
  // Whole numbers print without a fraction or exponent; the longest finite
  // double has 309 integer digits.
  std::array<char, 400> buffer;
  std::to_chars_result result =
      std::isfinite(number) && number == std::trunc(number)
          ? std::to_chars(buffer.data(), buffer.data() + buffer.size(), number,
                          std::chars_format::fixed, 0)
          : std::to_chars(buffer.data(), buffer.data() + buffer.size(), number);
  out.append(buffer.data(), result.ptr);
}

}  // namespace

bool appendNumberText(const AXValue& value, std::string& out) {
  const AXValue::Storage& storage = value.storage();
  if (const int64_t* integer = std::get_if<int64_t>(&storage)) {
    std::array<char, 24> buffer;
    out.append(buffer.data(),
               std::to_chars(buffer.data(), buffer.data() + buffer.size(), *integer).ptr);
    return true;
  }
  if (const bool* boolean = std::get_if<bool>(&storage)) {
    out += *boolean ? '1' : '0';
    return true;
  }
  if (const double* real = std::get_if<double>(&storage)) {
    appendDouble(*real, out);
    return true;
  }
  return false;
}

}  // namespace tessary
