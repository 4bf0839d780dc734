#include "hit-probe/json_report.h"

#include <string>

#include "common/unicode.h"
#include "hit-probe/hit_probe.h"

namespace tessary::hitprobe {

void printJSONObject(const JsonObject& report, std::ostream& out) {
  std::string line;
  if (!writeJsonCompact(JsonValue(report), line) || !isValidUtf8(line) ||
      line.find('\n') != std::string::npos) {
    line = kHitProbeNoMatchLine;
  }
  line += '\n';
  out << line << std::flush;
}

}  // namespace tessary::hitprobe
