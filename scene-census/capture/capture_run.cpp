#include "scene-census/capture/capture_run.h"

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "common/exclusion.h"
#include "common/json.h"
#include "common/log_format.h"
#include "common/text.h"
#include "common/unicode.h"
#include "scene-census/capture/log_line.h"
#include "scene-census/capture/process_app.h"
#include "scene-census/capture/run_state.h"
#include "scene-census/capture/selection_context.h"
#include "scene-census/capture/target_window.h"
#include "scene-census/capture/visibility_index.h"
#include "scene-census/capture/web_activation.h"
#include "scene-census/capture/window_list.h"
#include "scene-census/serialize/capture_json.h"

namespace tessary {

namespace {

constexpr const char* kSelectionOnlyVariable = "TESSARY_OVERLAY_SELECTION_ONLY";
constexpr std::string_view kBanner =
    "===== BINARY VERSION: 2026-03-08 22:20 - STABLE GEOMETRY IDS =====";
constexpr std::string_view kNoTargetError = "ERROR: Could not determine top visible target window";
// The depth budget of every captured window.
constexpr int kMaxDepth = 60;
// Roots named like this are the system's "doing multiple things" placeholder
// windows; they stay in the element list but say nothing in the markup.
constexpr std::string_view kMultitaskingPlaceholder = "doing multiple things";

template <typename Container>
std::string joined(const Container& ids) {
  std::string text;
  bool first = true;
  for (int32_t id : ids) {
    if (!first) text += ", ";
    first = false;
    text += std::to_string(id);
  }
  return text;
}

// Pretty-printed with sorted keys, then one newline. A value the writer
// cannot represent prints nothing; the run still succeeds.
void printObject(std::ostream& out, const JsonObject& object) {
  std::string text;
  if (!writeJsonPretty(JsonValue(object), text)) return;
  if (!isValidUtf8(text)) return;
  writeLine(out, text);
}

}  // namespace

int runSceneCensus(ProgramContext& context) {
  CaptureRunState state(context);
  Platform& platform = context.platform;
  std::ostream& err = context.err;

  state.hasRemoteNotificationRegistration =
      platform.accessibility.lookUpRemoteNotificationRegistration();
  state.isFormTestsMode = environmentEquals(context.environment, kFormTestsModeVariable, "true");

  if (!platform.accessibility.isProcessTrusted()) return 1;
  writeLine(err, kBanner);
  // A timeout set on one element covers that element only; the one set on
  // the system-wide element covers every element of the process. Without it
  // every read of a window or a descendant of a hung application would wait
  // the platform's default (about 6 seconds) instead of 2.
  platform.accessibility.setMessagingTimeout(platform.accessibility.systemWideElement(),
                                             kApplicationMessagingTimeoutSeconds);

  std::set<int32_t> excludedPIDs = getExcludedPIDs(context.environment);
  if (!excludedPIDs.empty()) writeLine(err, "DEBUG: Excluding PIDs: " + joined(excludedPIDs));

  std::optional<int32_t> requestedTargetPID = getRequestedTargetPID(context.environment);
  if (requestedTargetPID) {
    writeLine(err, "DEBUG: Requested target PID " + std::to_string(*requestedTargetPID));
  }
  std::optional<Rect> requestedScopeBounds = getRequestedScopeBounds(context.environment);
  if (requestedScopeBounds) {
    const Rect& s = *requestedScopeBounds;
    writeLine(err, "DEBUG: Requested scope bounds x=" + formatLogDouble(s.x) +
                       " y=" + formatLogDouble(s.y) + " w=" + formatLogDouble(s.w) +
                       " h=" + formatLogDouble(s.h));
  }

  if (environmentEquals(context.environment, kSelectionOnlyVariable, "1")) {
    std::optional<JsonObject> selection = captureFocusedSelectionContext(state);
    JsonObject output;
    output.set("selection_context", selection ? JsonValue(std::move(*selection)) : JsonValue());
    printObject(context.out, output);
    return 0;
  }

  std::vector<int32_t> allVisiblePIDs =
      listVisibleAppPIDs(platform.windowServer, context.environment, state.isFormTestsMode, err);
  writeLine(err, "DEBUG: allVisiblePIDs contains " + std::to_string(allVisiblePIDs.size()) +
                     " PIDs: " + joined(allVisiblePIDs));
  writeLine(err, "Found " + std::to_string(allVisiblePIDs.size()) + " visible processes");

  GlobalVisibleIndex globalVisIndex = buildGlobalVisibleIndex(
      platform.windowServer, platform.screens, allVisiblePIDs, excludedPIDs, state.isFormTestsMode);
  writeLine(err,
            "Built visibility index with " + std::to_string(globalVisIndex.size()) + " windows");

  std::optional<WindowInfo> top =
      getTopVisibleWindow(platform.windowServer, excludedPIDs, requestedScopeBounds,
                          requestedTargetPID, state.isFormTestsMode, err);
  if (!top) {
    writeLine(err, kNoTargetError);
    return 1;
  }

  std::string targetWindowName = top->name.empty() ? std::string("(untitled)") : top->name;
  writeLine(err, "DEBUG: Target window owner='" + top->owner + "' pid=" + std::to_string(top->pid) +
                     " name='" + targetWindowName + "' bounds=" + formatBoundsTuple(top->bounds));

  double appStartTime = platform.clock.now();
  std::vector<std::unique_ptr<UIElement>> elements =
      processApp(state, top->pid, kMaxDepth, globalVisIndex, top);
  double appElapsed = platform.clock.now() - appStartTime;
  writeLine(err, "DEBUG: Processed target PID " + std::to_string(top->pid) + " in " +
                     formatFixed(appElapsed, 2) + "s, got " + std::to_string(elements.size()) +
                     " root elements");

  std::string formattedText;
  for (const std::unique_ptr<UIElement>& root : elements) {
    if (!root->visible()) continue;
    if (root->name() && containsText(*root->name(), kMultitaskingPlaceholder)) continue;
    root->appendCompactText(0, formattedText);
  }

  // The element maps go out straight from the records, as the same text the
  // pretty writer makes of each root's toDict(): a large window would
  // otherwise hold every map in memory next to its records.
  writeCaptureJson(context.out, elements, formattedText);
  return 0;
}

}  // namespace tessary
