// Strict decimal parsing for environment values and arguments: an optional
// leading "+" or "-", then digits only; no whitespace, no radix prefix, and
// the value must fit the type.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tessary {

std::optional<int32_t> parseInt32(std::string_view text);
std::optional<int64_t> parseInt64(std::string_view text);
std::optional<uint32_t> parseUInt32(std::string_view text);
// A decimal floating-point number in the forms strtod accepts in the POSIX
// locale ("12", "-3.5", "1e3", "inf", "0x1p3"); the whole text must be consumed
// and it must not be empty. No trimming is done here.
std::optional<double> parseDouble(std::string_view text);

}  // namespace tessary
