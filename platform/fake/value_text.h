// Short texts of values for the details of recorded calls, written the way a
// scene file writes them.
#pragma once

#include <string>

#include "platform/ax_value.h"

namespace tessary::fake {

// Shortest text that reads back to the same number: 0.5, 2, 1e+30.
std::string numberText(double value);
// "text" (JSON-quoted), 3, 3.5, true, {"point":[1,2]}, {"range":[0,4]},
// {"ref":"id"} (given the id), [...], {"other":"type"}.
std::string valueText(const AXValue& value, std::string (*elementId)(const AXElement&, const void*),
                      const void* context);

}  // namespace tessary::fake
