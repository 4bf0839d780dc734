// The decimal text of a numeric element value, shared by the element map and
// the markup.
#pragma once

#include <string>

#include "platform/ax_value.h"

namespace tessary {

// Appends the value's decimal text and returns true when it holds a number
// (an integer, a real or a boolean): whole numbers as plain digits, booleans
// as 1 or 0, other reals in the shortest form that reads back the same.
// Appends nothing and returns false for any other kind.
bool appendNumberText(const AXValue& value, std::string& out);

}  // namespace tessary
