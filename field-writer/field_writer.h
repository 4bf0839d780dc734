// field-writer: replaces the text of whatever has keyboard focus, through the
// accessibility interface, walking a few levels up from the focused element
// to the first one that takes a new value.
#pragma once

#include "platform/program.h"

namespace tessary {

inline constexpr const char* kFieldWriterUsageLine = "usage: field-writer <value>";
inline constexpr const char* kFieldWriterNoFocusLine = "no-focused-element";
inline constexpr const char* kFieldWriterSetFailedLine = "set-failed";
inline constexpr const char* kFieldWriterOkLine = "ok";

inline constexpr int kFieldWriterStatusOk = 0;
inline constexpr int kFieldWriterStatusNoFocus = 2;
inline constexpr int kFieldWriterStatusSetFailed = 3;
inline constexpr int kFieldWriterStatusUsage = 64;

int runFieldWriter(ProgramContext& context);

}  // namespace tessary
