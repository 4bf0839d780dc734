// Property-list values from CoreFoundation.
#pragma once

#include <CoreFoundation/CoreFoundation.h>

#include <optional>

#include "platform/plist_value.h"

namespace tessary::macos {

// Booleans, integers, reals, strings, arrays and string-keyed dictionaries
// keep their kinds (CFBoolean before CFNumber; integer or real by
// CFNumberIsFloatType). Any other kind (data, date, kCFNull) becomes a
// PlistOther naming its type, which every reader takes for the wrong type.
// Nothing only for a null pointer.
std::optional<PlistValue> plistFromCF(CFTypeRef value);

}  // namespace tessary::macos
