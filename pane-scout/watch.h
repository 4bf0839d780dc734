// Watch mode: follows the main window of one process, polling the window
// list and writing a line only when the answer changes.
#pragma once

#include <atomic>
#include <cstdint>
#include <ostream>
#include <string>

#include "platform/platform.h"

namespace tessary::panescout {

inline constexpr int64_t kDefaultWatchIntervalMs = 33;
inline constexpr int64_t kShortestWatchIntervalMs = 16;
inline constexpr const char* kGoneLine = "gone";

// The interval argument: absent or not a number gives 33, 16 or less gives
// 16, anything else is taken as given.
int64_t watchIntervalMs(const std::string* argument);

// The main window's result line on a fresh window list, or "gone" (also when
// the list cannot be read).
std::string mainWindowLine(Platform& platform, int32_t pid);

// Polls, writes each new answer as one flushed line, and sleeps the interval
// through the platform clock; returns once `inputEnded` is seen after a
// sleep. The first answer is always written.
void followMainWindow(Platform& platform, int32_t pid, int64_t intervalMs, std::ostream& out,
                      const std::atomic<bool>& inputEnded);

}  // namespace tessary::panescout
