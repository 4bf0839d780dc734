// One candidate point: a match, a blocked report or nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>

#include "common/json.h"
#include "hit-probe/candidate_points.h"
#include "platform/attribute_reader.h"
#include "platform/platform.h"

namespace tessary::hitprobe {

inline constexpr const char* kStatusMatch = "match";
inline constexpr const char* kStatusBlocked = "blocked";

// {"status": "match", "x", "y"} when the hit element or one of its first 11
// ancestors carries `targetId`; {"status": "blocked", "x", "y", "hit"} naming
// the most useful element of the chain otherwise; nothing when no element is
// under the point.
std::optional<JsonObject> probePoint(Platform& platform, AttributeReader& reader,
                                     CandidatePoint point, const std::string& targetId,
                                     const std::set<int32_t>& excludedPIDs);

}  // namespace tessary::hitprobe
