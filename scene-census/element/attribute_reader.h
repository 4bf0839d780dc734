// Every accessibility read of a capture goes through one AttributeReader: it
// applies the list-read cap, batches reads that belong together, and stops
// talking to an application that has stopped answering.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "platform/accessibility.h"

namespace tessary {

// List attributes are read as slices of at most this many entries.
inline constexpr int64_t kMaxListReadCount = 9999;
// After this many consecutive timeouts (-25204) the application counts as
// frozen and no further call is made to it during the run.
inline constexpr int kFrozenAfterConsecutiveTimeouts = 3;

class AttributeReader {
 public:
  explicit AttributeReader(Accessibility& accessibility) : accessibility_(accessibility) {}

  Accessibility& accessibility() { return accessibility_; }

  // elementAttribute: "AXChildren", "AXVisibleChildren" and "AXRows" are read
  // as slices from index 0 (at most 9999 entries) and must be lists of
  // elements; everything else is a single read. Absent on any error.
  std::optional<AXValue> elementAttribute(const AXElement& element, std::string_view attribute);
  // The same answers as elementAttribute for each attribute, in one round
  // trip; only when the whole batch times out are the attributes asked again
  // one by one.
  std::vector<std::optional<AXValue>> elementAttributes(
      const AXElement& element, std::span<const std::string_view> attributes);
  // Writes go through here too so a frozen application is left alone.
  int32_t setAttributeValue(const AXElement& element, std::string_view attribute,
                            const AXValue& value);

  // True once the application stopped answering; every later call returns
  // absent without a round trip.
  bool applicationFrozen() const { return frozen_; }

 private:
  void noteResult(int32_t error);

  Accessibility& accessibility_;
  int consecutiveTimeouts_ = 0;
  bool frozen_ = false;
};

// elementValue: unwraps a point (kind 1), size (kind 2) or rectangle (kind 3).
enum class AXValueKind { point = 1, size = 2, rect = 3 };
std::optional<AXValue> elementValue(const std::optional<AXValue>& value, AXValueKind kind);

}  // namespace tessary
