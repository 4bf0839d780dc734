#include "pane-scout/watch.h"

#include <limits>
#include <optional>

#include "common/numbers.h"
#include "pane-scout/result_lines.h"
#include "pane-scout/window_entry.h"
#include "pane-scout/window_resolution.h"

namespace tessary::panescout {

namespace {

uint64_t microseconds(int64_t milliseconds) {
  constexpr uint64_t most = std::numeric_limits<uint64_t>::max() / 1000;
  const uint64_t ms = static_cast<uint64_t>(milliseconds);
  return ms > most ? std::numeric_limits<uint64_t>::max() : ms * 1000;
}

}  // namespace

int64_t watchIntervalMs(const std::string* argument) {
  if (!argument) return kDefaultWatchIntervalMs;
  std::optional<int64_t> milliseconds = parseInt64(*argument);
  if (!milliseconds) return kDefaultWatchIntervalMs;
  return *milliseconds <= kShortestWatchIntervalMs ? kShortestWatchIntervalMs : *milliseconds;
}

std::string mainWindowLine(Platform& platform, int32_t pid) {
  std::optional<std::vector<WindowEntry>> entries = readWindowEntries(platform.windowServer);
  if (!entries) return kGoneLine;
  const WindowEntry* window = mainWindowOf(*entries, pid);
  if (!window) return kGoneLine;
  return windowLine(*window, bundlePathOf(platform.workspace, pid));
}

void followMainWindow(Platform& platform, int32_t pid, int64_t intervalMs, std::ostream& out,
                      const std::atomic<bool>& inputEnded) {
  std::optional<std::string> lastWritten;
  const uint64_t pause = microseconds(intervalMs);
  do {
    std::string line = mainWindowLine(platform, pid);
    if (line != lastWritten) {
      out << line + '\n' << std::flush;
      lastWritten = std::move(line);
    }
    platform.clock.sleepMicroseconds(pause);
  } while (!inputEnded.load());
}

}  // namespace tessary::panescout
