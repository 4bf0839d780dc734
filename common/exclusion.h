// Processes the host asks the tools to look through or skip, from
// TESSARY_OVERLAY_EXCLUDED_PID.
#pragma once

#include <cstdint>
#include <set>

#include "common/environment.h"

namespace tessary {

inline constexpr const char* kExcludedPidVariable = "TESSARY_OVERLAY_EXCLUDED_PID";

// scene-census and hit-probe: the whole value is one strict 32-bit id.
std::set<int32_t> getExcludedPIDs(const Environment& environment);
// pane-scout and pane-raise: comma-separated ids, each trimmed of whitespace
// and line breaks; bad pieces are skipped.
std::set<int32_t> getExcludedPIDList(const Environment& environment);

}  // namespace tessary
