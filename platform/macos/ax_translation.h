// Accessibility values between CoreFoundation and AXValue.
#pragma once

#include <ApplicationServices/ApplicationServices.h>

#include "platform/ax_value.h"
#include "platform/macos/cf_ref.h"

namespace tessary::macos {

// An element handle sharing one reference to `element`; retains it.
AXElement elementFromRef(AXUIElementRef element);
// Same, taking over the +1 reference a Copy call handed us.
AXElement elementAdoptingRef(AXUIElementRef element);
// The AXUIElementRef behind a handle (null for an empty one).
AXUIElementRef elementRef(const AXElement& element);

// Kinds stay apart: CFBoolean is tested before CFNumber so a boolean never
// reads as 1 or 0, a CFNumber is integer or real by CFNumberIsFloatType, and
// anything not modelled (attributed string, URL, ...) becomes AXOtherValue
// with its CF type name.
AXValue axValueFromCF(CFTypeRef value);
// Nothing for a value the platform cannot carry (an AXOtherValue).
CFRef<CFTypeRef> cfFromAXValue(const AXValue& value);

// One answer of AXUIElementCopyMultipleAttributeValues: the error an AXError
// value box carries, "no value" for CFNull, otherwise the value.
AXResult resultFromMultipleAnswer(CFTypeRef answer);

}  // namespace tessary::macos
