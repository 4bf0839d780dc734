// The element identifier shared by scene-census and hit-probe: "e" + base 36
// of a 64-bit FNV-1a-style hash of the role and either the native identifier
// or the normalized texts and the geometry on a 64-point grid.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/geometry.h"

namespace tessary {

uint64_t fnv1a64(std::string_view text);
std::string toBase36(uint64_t value);
std::optional<std::string> normalizedSemanticIdentifierComponent(
    const std::optional<std::string>& text);
std::optional<std::string> quantizedGeometryComponent(const std::optional<Box>& bbox,
                                                      const std::optional<Point>& position,
                                                      const std::optional<Size>& size,
                                                      int64_t bucketSize = 64);
std::string stableElementIdentifier(const std::string& role,
                                    const std::optional<std::string>& nativeIdentifier,
                                    const std::optional<Box>& bbox,
                                    const std::optional<Point>& position,
                                    const std::optional<Size>& size,
                                    const std::optional<std::string>& name,
                                    const std::optional<std::string>& description,
                                    const std::optional<std::string>& roleDescription);

}  // namespace tessary
