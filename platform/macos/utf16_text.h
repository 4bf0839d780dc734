// UTF-16 code units (what CFString holds) to UTF-8. Plain C++, so the Linux
// build tests it.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace tessary::macos {

// A surrogate pair becomes its code point; a lone surrogate, which a CFString
// may hold but UTF-8 cannot express, becomes U+FFFD.
std::string utf8FromUtf16(std::span<const uint16_t> units);

}  // namespace tessary::macos
