#include "pane-scout/result_lines.h"

#include <cstdint>
#include <optional>

#include "common/text.h"

namespace tessary::panescout {

namespace {

// Entries hold only bounds whose truncation fits (window_entry.h).
std::string truncated(double value) {
  return std::to_string(static_cast<int64_t>(value));
}

}  // namespace

std::string windowLine(const WindowEntry& entry, std::string_view bundlePath) {
  std::string line = "ok pid=" + std::to_string(entry.pid) +
                     " cgWindowId=" + std::to_string(entry.cgWindowId) +
                     " x=" + truncated(entry.x) + " y=" + truncated(entry.y) +
                     " w=" + truncated(entry.w) + " h=" + truncated(entry.h) + " owner=";
  line += lineFeedsAsSpaces(entry.owner);
  line += " title=";
  line += lineFeedsAsSpaces(entry.title);
  line += " appBundle=";
  line += lineFeedsAsSpaces(bundlePath);
  return line;
}

std::string bundlePathOf(Workspace& workspace, int32_t pid) {
  std::optional<RunningApplication> application = workspace.runningApplication(pid);
  return application && application->bundlePath ? *application->bundlePath : std::string();
}

std::string hitLine(const WindowEntry& entry, std::string_view skipReason) {
  std::string line = "hit pid=" + std::to_string(entry.pid) +
                     " cgWindowId=" + std::to_string(entry.cgWindowId) +
                     " layer=" + std::to_string(entry.layer) + " skip=" + std::string(skipReason) +
                     " bounds=" + truncated(entry.x) + "," + truncated(entry.y) + "," +
                     truncated(entry.w) + "," + truncated(entry.h) + " owner=";
  line += lineFeedsAsSpaces(entry.owner);
  line += " title=";
  line += lineFeedsAsSpaces(entry.title);
  return line;
}

}  // namespace tessary::panescout
