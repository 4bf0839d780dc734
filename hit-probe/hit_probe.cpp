#include "hit-probe/hit_probe.h"

#include <array>
#include <optional>
#include <string>

#include "common/exclusion.h"
#include "common/numbers.h"
#include "hit-probe/candidate_points.h"
#include "hit-probe/json_report.h"
#include "hit-probe/probe_point.h"

namespace tessary {

namespace {

void printLine(std::ostream& out, const char* line) {
  out << line << '\n' << std::flush;
}

}  // namespace

int runHitProbe(ProgramContext& context) {
  // Errors go to standard output too: the host reads only that stream.
  const std::vector<std::string>& arguments = context.arguments;
  if (arguments.size() < 5) {
    printLine(context.out, kHitProbeUsageLine);
    return 1;
  }
  const std::string& targetId = arguments[0];
  std::array<int64_t, 4> box{};
  for (size_t i = 0; i < box.size(); ++i) {
    std::optional<int64_t> number = parseInt64(arguments[i + 1]);
    if (!number) {
      printLine(context.out, kHitProbeInvalidBoxLine);
      return 1;
    }
    box[i] = *number;
  }

  const std::set<int32_t> excludedPIDs = getExcludedPIDs(context.environment);
  std::optional<JsonObject> blockedReport;
  // One reader for the whole probe: an application that stopped answering
  // at one point is not asked again at the next.
  AttributeReader reader(context.platform.accessibility);
  for (const hitprobe::CandidatePoint& point :
       hitprobe::uniqueCandidatePoints(box[0], box[1], box[2], box[3])) {
    std::optional<JsonObject> report =
        hitprobe::probePoint(context.platform, reader, point, targetId, excludedPIDs);
    if (!report) continue;
    const JsonValue* status = report->find("status");
    const std::string* statusText = status ? std::get_if<std::string>(&status->storage()) : nullptr;
    if (statusText && *statusText == hitprobe::kStatusMatch) {
      hitprobe::printJSONObject(*report, context.out);
      return 0;
    }
    // Only the first point that hit something is reported.
    if (!blockedReport) blockedReport = std::move(report);
  }
  if (blockedReport) {
    hitprobe::printJSONObject(*blockedReport, context.out);
  } else {
    printLine(context.out, kHitProbeNoMatchLine);
  }
  return 0;
}

}  // namespace tessary
