#include "common/log_format.h"

#include <cmath>
#include <cstdio>

#include "common/shortest_decimal.h"

namespace tessary {

std::string formatLogDouble(double value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  const ShortestDecimal decimal = shortestDecimal(value);
  std::string out = decimal.negative ? "-" : "";
  const std::string& digits = decimal.digits;
  // Very small and very large magnitudes read better in exponent form, as
  // the platform's own description of a double prints them: 1e-05, 1e+20.
  constexpr double exponentFormAbove = 18014398509481984.0;  // 2^54
  if ((value != 0 && decimal.exponent < -4) || std::fabs(value) > exponentFormAbove) {
    out += digits[0];
    if (digits.size() > 1) {
      out += '.';
      out.append(digits, 1);
    }
    const int exponent = decimal.exponent;
    out += exponent < 0 ? "e-" : "e+";
    const std::string exponentDigits = std::to_string(std::abs(exponent));
    if (exponentDigits.size() < 2) out += '0';
    out += exponentDigits;
    return out;
  }
  const int integerDigits = decimal.exponent + 1;
  if (integerDigits <= 0) {
    out += "0.";
    out.append(static_cast<size_t>(-integerDigits), '0');
    out += digits;
  } else if (digits.size() <= static_cast<size_t>(integerDigits)) {
    out += digits;
    out.append(static_cast<size_t>(integerDigits) - digits.size(), '0');
    out += ".0";
  } else {
    out += digits.substr(0, static_cast<size_t>(integerDigits));
    out += '.';
    out += digits.substr(static_cast<size_t>(integerDigits));
  }
  return out;
}

std::string formatShortestDouble(double value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  // Laid out as ECMAScript prints numbers: 25, 0.5, 1e+21, 1e-7.
  const ShortestDecimal decimal = shortestDecimal(value);
  std::string out = decimal.negative ? "-" : "";
  const std::string& digits = decimal.digits;
  const int k = static_cast<int>(digits.size());
  const int n = decimal.exponent + 1;
  if (k <= n && n <= 21) {
    out += digits;
    out.append(static_cast<size_t>(n - k), '0');
  } else if (0 < n && n <= 21) {
    out.append(digits, 0, static_cast<size_t>(n));
    out.push_back('.');
    out.append(digits, static_cast<size_t>(n));
  } else if (-6 < n && n <= 0) {
    out += "0.";
    out.append(static_cast<size_t>(-n), '0');
    out += digits;
  } else {
    out.push_back(digits[0]);
    if (k > 1) {
      out.push_back('.');
      out.append(digits, 1);
    }
    out += n - 1 < 0 ? "e-" : "e+";
    out += std::to_string(std::abs(n - 1));
  }
  return out;
}

std::string formatBoundsTuple(const Rect& bounds) {
  std::string out = "(";
  out += formatLogDouble(bounds.x);
  out += ", ";
  out += formatLogDouble(bounds.y);
  out += ", ";
  out += formatLogDouble(bounds.w);
  out += ", ";
  out += formatLogDouble(bounds.h);
  out += ')';
  return out;
}

std::string formatFixed(double value, int decimals) {
  if (decimals < 0) decimals = 0;
  const int length = std::snprintf(nullptr, 0, "%.*f", decimals, value);
  if (length <= 0) return std::string();
  std::string out(static_cast<size_t>(length) + 1, '\0');
  std::snprintf(out.data(), out.size(), "%.*f", decimals, value);
  out.resize(static_cast<size_t>(length));
  return out;
}

}  // namespace tessary
