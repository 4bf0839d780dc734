// Printing a report as the one line the host reads.
#pragma once

#include <ostream>

#include "common/json.h"

namespace tessary::hitprobe {

// Compact one-line JSON followed by a line feed, flushed. A report that cannot
// be encoded as valid UTF-8 JSON prints "no_match" instead.
void printJSONObject(const JsonObject& report, std::ostream& out);

}  // namespace tessary::hitprobe
