#include "scene-census/serialize/number_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <variant>

#include "common/log_format.h"
#include "common/shortest_decimal.h"

namespace tessary {

namespace {

void appendDouble(double number, std::string& out) {
  if (!std::isfinite(number) || number != std::trunc(number)) {
    out += formatShortestDouble(number);
    return;
  }
  // Whole numbers as plain digits, however large: the shortest digits that
  // read back, padded with zeros up to the decimal point.
  const ShortestDecimal decimal = shortestDecimal(number);
  if (decimal.negative) out += '-';
  out += decimal.digits;
  const int integerDigits = decimal.exponent + 1;
  if (decimal.digits != "0" && integerDigits > static_cast<int>(decimal.digits.size())) {
    out.append(static_cast<size_t>(integerDigits) - decimal.digits.size(), '0');
  }
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
