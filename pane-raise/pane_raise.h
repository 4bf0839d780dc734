// pane-raise: brings the window under a screen point to the front. It
// activates the window's application and raises exactly that window through
// the accessibility interface; one line on standard output.
#pragma once

#include "platform/program.h"

namespace tessary {

inline constexpr const char* kPaneRaiseUsageLine = "error: usage: pane-raise <x> <y>";
inline constexpr const char* kPaneRaiseInvalidCoordinatesLine = "error: invalid coordinates";
inline constexpr const char* kPaneRaiseNoWindowListLine = "error: could not get window list";
inline constexpr const char* kPaneRaiseNoWindowLine = "no_window";
inline constexpr const char* kPaneRaiseUntitled = "<untitled>";

int runPaneRaise(ProgramContext& context);

}  // namespace tessary
