// The stable identifier of a live element, computed from the same inputs the
// capture uses, so that a probed element carries the identifier the host got
// from scene-census.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "platform/accessibility.h"

namespace tessary::hitprobe {

// The identifier's inputs, read together in one round trip.
inline constexpr std::array<std::string_view, 7> kIdentifierAttributes = {
    "AXRole",       "AXTitle",    "AXDescription", "AXRoleDescription",
    "AXIdentifier", "AXPosition", "AXSize"};

// Positions in kIdentifierAttributes.
namespace slot {
inline constexpr size_t role = 0, title = 1, description = 2, roleDescription = 3, identifier = 4,
                        position = 5, size = 6;
}  // namespace slot

std::string elementStableIdentifier(Accessibility& accessibility, const AXElement& element);

// The identifier from answers to kIdentifierAttributes, in that order.
std::string identifierFromAnswers(std::span<const AXResult> answers);

}  // namespace tessary::hitprobe
