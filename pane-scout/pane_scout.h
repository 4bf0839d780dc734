// pane-scout: which window lies under a point, where a window is, which is
// the main window of an application, and a watch that follows one. Every
// line, results and errors alike, goes to standard output.
#pragma once

#include "platform/program.h"

namespace tessary {

inline constexpr const char* kPaneScoutUsageLine =
    "error usage: pane-scout <at|bounds|frontmost|active|watch> ...";
inline constexpr const char* kPaneScoutAtUsageLine = "error usage: pane-scout at <x> <y>";
inline constexpr const char* kPaneScoutListAtUsageLine = "error usage: pane-scout list-at <x> <y>";
inline constexpr const char* kPaneScoutBoundsUsageLine =
    "error usage: pane-scout bounds <cgWindowId>";
inline constexpr const char* kPaneScoutFrontmostUsageLine =
    "error usage: pane-scout frontmost <pid>";
inline constexpr const char* kPaneScoutWatchUsageLine =
    "error usage: pane-scout watch <pid> [intervalMs]";
inline constexpr const char* kPaneScoutUnknownCommandPrefix = "error unknown_command ";
inline constexpr const char* kPaneScoutNoWindowListLine = "error no_window_list";
inline constexpr const char* kPaneScoutInvalidIdLine = "error invalid_id";
inline constexpr const char* kPaneScoutInvalidPidLine = "error invalid_pid";
inline constexpr const char* kPaneScoutNoneLine = "none";
inline constexpr const char* kPaneScoutGoneLine = "gone";

// What the end of standard input does to a watch: in-process, the watch
// returns 0 at its next wake-up; the real program ends at once, status 0,
// whatever the poller is doing.
enum class EndOfInput { endsWatch, exitsProcess };

int runPaneScout(ProgramContext& context, EndOfInput endOfInput = EndOfInput::endsWatch);

}  // namespace tessary
