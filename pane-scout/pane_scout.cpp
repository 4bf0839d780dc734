#include "pane-scout/pane_scout.h"

#include <atomic>
#include <cstdlib>
#include <optional>
#include <string>

#include "common/exclusion.h"
#include "common/numbers.h"
#include "common/text.h"
#include "pane-scout/input_drain.h"
#include "pane-scout/result_lines.h"
#include "pane-scout/watch.h"
#include "pane-scout/window_entry.h"
#include "pane-scout/window_resolution.h"

namespace tessary {

namespace {

using panescout::WindowEntry;

int printLine(ProgramContext& context, const std::string& line, int status) {
  context.out << line + '\n' << std::flush;
  return status;
}

// The result line of a window, or `otherwise` when there is none.
int printWindow(ProgramContext& context, const WindowEntry* window, const char* otherwise) {
  if (!window) return printLine(context, otherwise, 0);
  const std::string bundlePath = panescout::bundlePathOf(context.platform.workspace, window->pid);
  return printLine(context, panescout::windowLine(*window, bundlePath), 0);
}

struct Point64 {
  int64_t x, y;
};

std::optional<Point64> pointArguments(const std::vector<std::string>& arguments) {
  if (arguments.size() < 3) return std::nullopt;
  std::optional<int64_t> x = parseInt64(arguments[1]);
  std::optional<int64_t> y = parseInt64(arguments[2]);
  if (!x || !y) return std::nullopt;
  return Point64{*x, *y};
}

int commandAt(ProgramContext& context) {
  std::optional<Point64> point = pointArguments(context.arguments);
  if (!point) return printLine(context, kPaneScoutAtUsageLine, 1);
  const std::set<int32_t> excluded = getExcludedPIDList(context.environment);
  auto entries = panescout::readWindowEntries(context.platform.windowServer);
  if (!entries) return printLine(context, kPaneScoutNoWindowListLine, 1);
  const WindowEntry* window = panescout::topmostWindowAt(*entries, static_cast<double>(point->x),
                                                         static_cast<double>(point->y), excluded);
  return printWindow(context, window, kPaneScoutNoneLine);
}

int commandListAt(ProgramContext& context) {
  std::optional<Point64> point = pointArguments(context.arguments);
  if (!point) return printLine(context, kPaneScoutListAtUsageLine, 1);
  const std::set<int32_t> excluded = getExcludedPIDList(context.environment);
  auto entries = panescout::readWindowEntries(context.platform.windowServer);
  if (!entries) return printLine(context, kPaneScoutNoWindowListLine, 1);
  for (const WindowEntry& entry : *entries) {
    if (!panescout::containsPoint(entry, static_cast<double>(point->x),
                                  static_cast<double>(point->y))) {
      continue;
    }
    printLine(context, panescout::hitLine(entry, panescout::skipReason(entry, excluded)), 0);
  }
  return 0;
}

int commandBounds(ProgramContext& context) {
  if (context.arguments.size() < 2) return printLine(context, kPaneScoutBoundsUsageLine, 1);
  std::optional<uint32_t> id = parseUInt32(context.arguments[1]);
  if (!id) return printLine(context, kPaneScoutInvalidIdLine, 1);
  auto entries = panescout::readWindowEntries(context.platform.windowServer);
  return printWindow(context, entries ? panescout::windowById(*entries, *id) : nullptr,
                     kPaneScoutGoneLine);
}

int answerMainWindow(ProgramContext& context, int32_t pid) {
  auto entries = panescout::readWindowEntries(context.platform.windowServer);
  return printWindow(context, entries ? panescout::mainWindowOf(*entries, pid) : nullptr,
                     kPaneScoutGoneLine);
}

int commandFrontmost(ProgramContext& context) {
  if (context.arguments.size() < 2) return printLine(context, kPaneScoutFrontmostUsageLine, 1);
  std::optional<int32_t> pid = parseInt32(context.arguments[1]);
  if (!pid) return printLine(context, kPaneScoutInvalidPidLine, 1);
  return answerMainWindow(context, *pid);
}

int commandActive(ProgramContext& context) {
  std::optional<RunningApplication> frontmost = context.platform.workspace.frontmostApplication();
  if (!frontmost) return printLine(context, kPaneScoutGoneLine, 0);
  return answerMainWindow(context, frontmost->pid);
}

int commandWatch(ProgramContext& context, EndOfInput endOfInput) {
  if (context.arguments.size() < 2) return printLine(context, kPaneScoutWatchUsageLine, 1);
  std::optional<int32_t> pid = parseInt32(context.arguments[1]);
  if (!pid) return printLine(context, kPaneScoutInvalidPidLine, 1);
  const int64_t intervalMs =
      panescout::watchIntervalMs(context.arguments.size() > 2 ? &context.arguments[2] : nullptr);

  std::atomic<bool> inputEnded{false};
  auto onEnd = [&inputEnded, endOfInput] {
    // Every line was flushed when written; nothing is left to save.
    if (endOfInput == EndOfInput::exitsProcess) std::_Exit(0);
    inputEnded.store(true);
  };
  std::optional<panescout::InputDrain> drain;
  if (context.in) {
    drain.emplace(*context.in, onEnd);
  } else {
    onEnd();
  }
  panescout::followMainWindow(context.platform, *pid, intervalMs, context.out, inputEnded);
  return 0;
}

}  // namespace

int runPaneScout(ProgramContext& context, EndOfInput endOfInput) {
  if (context.arguments.empty()) return printLine(context, kPaneScoutUsageLine, 1);
  const std::string& command = context.arguments[0];
  if (command == "at") return commandAt(context);
  if (command == "list-at") return commandListAt(context);
  if (command == "bounds") return commandBounds(context);
  if (command == "frontmost") return commandFrontmost(context);
  if (command == "active") return commandActive(context);
  if (command == "watch") return commandWatch(context, endOfInput);
  // A line feed in the echoed word would end the error line early and make
  // its rest a line of its own.
  return printLine(context, kPaneScoutUnknownCommandPrefix + lineFeedsAsSpaces(command), 1);
}

}  // namespace tessary
