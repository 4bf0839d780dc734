// Conversions between the suite's UTF-8 texts and ICU's UTF-16 strings. UChar
// is char16_t with libicu and uint16_t in the macOS SDK's headers, so strings
// are kept in ICU's own type.
#pragma once

#include <unicode/utypes.h>

#include <string>
#include <string_view>

namespace tessary {

using IcuString = std::basic_string<UChar>;

// Ill-formed input becomes U+FFFD in both directions.
IcuString toUtf16(std::string_view text);
std::string toUtf8(const IcuString& text);

}  // namespace tessary
