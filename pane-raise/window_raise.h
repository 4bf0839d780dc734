// Raising one window of an application through the accessibility interface:
// the application's window that matches the window-server window, made
// frontmost, main and focused.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/geometry.h"
#include "platform/accessibility.h"

namespace tessary::paneraise {

inline constexpr double kPositionTolerance = 4;
inline constexpr double kSizeTolerance = 6;

// What the match test reads of one accessibility window.
struct AXWindowFacts {
  std::string title;  // trimmed; empty when missing
  std::optional<Point> position;
  std::optional<Size> size;
};

// The trimmed title equals a non-empty target title; else the position is
// within 4 points and the size within 6 points of the target, inclusive.
bool windowMatchesTarget(const AXWindowFacts& window, const std::string& targetTitle,
                         const Rect& target);

// Raises the first window in "AXWindows" order that matches, sets it as the
// application's focused window and makes it main and focused (results of
// those four calls ignored). False when the windows cannot be read, there
// are none, or none matches.
bool raiseMatchingWindow(Accessibility& accessibility, int32_t pid, const std::string& targetTitle,
                         const Rect& target);

}  // namespace tessary::paneraise
