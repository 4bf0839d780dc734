// Text between UTF-8 std::string and CFString.
#pragma once

#include <CoreFoundation/CoreFoundation.h>

#include <string>
#include <string_view>

#include "platform/macos/cf_ref.h"

namespace tessary::macos {

// UTF-8 of a CFString. A lone surrogate becomes U+FFFD, so the result is
// always well-formed UTF-8 (the JSON writer relies on that).
std::string utf8FromCFString(CFStringRef string);
// A CFString of UTF-8 text; ill-formed bytes become U+FFFD instead of
// failing the whole conversion (a command-line value may hold such bytes).
CFRef<CFStringRef> cfStringFromUtf8(std::string_view text);

}  // namespace tessary::macos
