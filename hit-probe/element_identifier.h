// The stable identifier of a live element, computed from the same inputs the
// capture uses, so that a probed element carries the identifier the host got
// from scene-census.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/attribute_reader.h"

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

// The answers to kIdentifierAttributes, in that order.
using IdentifierAnswers = std::vector<std::optional<AXValue>>;

// Read through the capture's reader: a batch that times out is asked again
// one attribute at a time, so for the same answers the probe computes the
// identifier the capture computed.
IdentifierAnswers readIdentifierAnswers(AttributeReader& reader, const AXElement& element);

std::string elementStableIdentifier(AttributeReader& reader, const AXElement& element);

// The identifier from answers to kIdentifierAttributes, in that order.
std::string identifierFromAnswers(std::span<const std::optional<AXValue>> answers);

}  // namespace tessary::hitprobe
