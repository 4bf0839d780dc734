#include "common/exclusion.h"

#include "common/numbers.h"
#include "common/text.h"
#include "common/unicode.h"

namespace tessary {

std::set<int32_t> getExcludedPIDs(const Environment& environment) {
  const std::string* value = environmentValue(environment, kExcludedPidVariable);
  if (!value || value->empty()) return {};
  std::optional<int32_t> pid = parseInt32(*value);
  if (!pid) return {};
  return {*pid};
}

std::set<int32_t> getExcludedPIDList(const Environment& environment) {
  const std::string* value = environmentValue(environment, kExcludedPidVariable);
  if (!value) return {};
  std::set<int32_t> pids;
  for (std::string_view piece : splitDroppingEmpty(*value, ',')) {
    std::string_view trimmed = trimWhitespaceAndNewlines(piece);
    if (trimmed.empty()) continue;
    if (std::optional<int32_t> pid = parseInt32(trimmed)) pids.insert(*pid);
  }
  return pids;
}

}  // namespace tessary
