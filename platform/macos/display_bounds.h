// The main screen from the main display's bounds. Plain C++, so the Linux
// build tests it.
#pragma once

#include <cstdint>
#include <optional>

#include "common/geometry.h"

namespace tessary::macos {

// CGMainDisplayID and CGDisplayBounds: the display whose top-left corner is
// the origin of global coordinates, in points, already top-left based (no
// flip, unlike NSScreen frames). Nothing for the null display (no display at
// all) and for bounds without a finite, positive width and height, which is
// what CGDisplayBounds answers for a display that is not there.
std::optional<Rect> mainScreenFrameFromDisplay(uint32_t displayId, const Rect& bounds);

}  // namespace tessary::macos
