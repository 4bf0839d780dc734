// Numbers from CoreFoundation.
#pragma once

#include <CoreFoundation/CoreFoundation.h>

#include <cstdint>
#include <variant>

namespace tessary::macos {

// A CFNumber as the integer or the real it holds (CFNumberIsFloatType). An
// unsigned value beyond the signed 64-bit range reads as a real rather than
// as a wrapped integer.
std::variant<int64_t, double> numberFromCFNumber(CFNumberRef number);

}  // namespace tessary::macos
