// Property-list values from CoreFoundation.
#pragma once

#include <CoreFoundation/CoreFoundation.h>

#include <optional>

#include "platform/plist_value.h"

namespace tessary::macos {

// Booleans, integers, reals, strings, arrays and string-keyed dictionaries
// keep their kinds (CFBoolean before CFNumber; integer or real by
// CFNumberIsFloatType). Nothing for any other kind: such an array entry or
// dictionary member is dropped, so a reader finds it missing, which is how a
// value of an unexpected type is treated anyway.
std::optional<PlistValue> plistFromCF(CFTypeRef value);

}  // namespace tessary::macos
