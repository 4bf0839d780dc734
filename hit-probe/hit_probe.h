// hit-probe: does a pointer event inside a captured element's box reach that
// element? Probes up to five points and prints one line: a match, a blocked
// report naming what is in the way, or "no_match".
#pragma once

#include "platform/program.h"

namespace tessary {

inline constexpr const char* kHitProbeUsageLine =
    "error: usage: hit-probe <target-id> <x> <y> <width> <height>";
inline constexpr const char* kHitProbeInvalidBoxLine = "error: invalid bbox";
inline constexpr const char* kHitProbeNoMatchLine = "no_match";

int runHitProbe(ProgramContext& context);

}  // namespace tessary
