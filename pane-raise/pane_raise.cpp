#include "pane-raise/pane_raise.h"

#include <optional>
#include <string>

#include "common/exclusion.h"
#include "common/numbers.h"
#include "common/text.h"
#include "pane-raise/raise_candidates.h"
#include "pane-raise/window_raise.h"
#include "platform/window_description.h"

namespace tessary {

namespace {

// On-screen windows only, desktop elements left out.
constexpr uint32_t kWindowListOptions =
    windowlist::onScreenOnly | windowlist::excludeDesktopElements;
// The raise needs a moment to land before the host looks at the screen.
constexpr uint64_t kSettleMicroseconds = 12000;

int printLine(ProgramContext& context, const std::string& line, int status) {
  context.out << line + '\n' << std::flush;
  return status;
}

}  // namespace

int runPaneRaise(ProgramContext& context) {
  const std::vector<std::string>& arguments = context.arguments;
  if (arguments.size() < 2) return printLine(context, kPaneRaiseUsageLine, 1);
  std::optional<int64_t> x = parseInt64(arguments[0]);
  std::optional<int64_t> y = parseInt64(arguments[1]);
  if (!x || !y) return printLine(context, kPaneRaiseInvalidCoordinatesLine, 1);

  Platform& platform = context.platform;
  std::optional<PlistArray> list =
      platform.windowServer.copyWindowInfo(kWindowListOptions, windowlist::nullWindowId);
  if (!list || !isListOfDictionaries(*list)) {
    return printLine(context, kPaneRaiseNoWindowListLine, 1);
  }
  const std::set<int32_t> excludedPIDs = getExcludedPIDList(context.environment);

  for (const PlistValue& description : *list) {
    std::optional<paneraise::RaiseCandidate> candidate =
        paneraise::raiseCandidate(description, excludedPIDs);
    if (!candidate || !paneraise::hitsTruncatedBounds(candidate->bounds, *x, *y)) continue;
    // A window whose process is no running application (a helper, one that
    // just quit) cannot be activated; the window behind it may be.
    if (!platform.workspace.runningApplication(candidate->pid)) continue;
    platform.workspace.activateApplication(candidate->pid, activation::ignoringOtherApps);
    const bool raised = paneraise::raiseMatchingWindow(platform.accessibility, candidate->pid,
                                                       candidate->title, candidate->bounds);
    platform.clock.sleepMicroseconds(kSettleMicroseconds);
    // The owner is written as read, but a line feed in it or in the title
    // would split the one line the host reads into two.
    const std::string title = candidate->title.empty() ? std::string(kPaneRaiseUntitled)
                                                       : lineFeedsAsSpaces(candidate->title);
    return printLine(context,
                     "activated owner=" + lineFeedsAsSpaces(candidate->owner) +
                         " pid=" + std::to_string(candidate->pid) + " window=" + title +
                         " raised=" + (raised ? "true" : "false"),
                     0);
  }
  return printLine(context, kPaneRaiseNoWindowLine, 0);
}

}  // namespace tessary
