#include "hit-probe/probe_point.h"

#include "hit-probe/ancestor_chain.h"
#include "hit-probe/element_identifier.h"
#include "hit-probe/hit_element.h"
#include "hit-probe/hit_test.h"
#include "hit-probe/reporting_element.h"

namespace tessary::hitprobe {

std::optional<JsonObject> probePoint(Platform& platform, AttributeReader& reader,
                                     CandidatePoint point, const std::string& targetId,
                                     const std::set<int32_t>& excludedPIDs) {
  std::optional<AXElement> element = hitTest(platform, point, excludedPIDs);
  if (!element) return std::nullopt;
  Accessibility& accessibility = platform.accessibility;
  std::vector<AXElement> chain = ancestorChain(accessibility, *element);
  if (chain.empty()) return std::nullopt;

  // Each element's identifier inputs hold its role and label texts too, so a
  // blocked report reuses them instead of reading them again.
  std::vector<IdentifierAnswers> answers;
  answers.reserve(chain.size());
  JsonObject report;
  for (const AXElement& candidate : chain) {
    answers.push_back(readIdentifierAnswers(reader, candidate));
    if (identifierFromAnswers(answers.back()) == targetId) {
      report.set("status", kStatusMatch);
      report.set("x", point.x);
      report.set("y", point.y);
      return report;
    }
  }
  const size_t preferred = preferredReportingElement(accessibility, chain, answers);
  report.set("status", kStatusBlocked);
  report.set("x", point.x);
  report.set("y", point.y);
  report.set("hit", serializeHitElement(accessibility, chain[preferred], answers[preferred]));
  return report;
}

}  // namespace tessary::hitprobe
