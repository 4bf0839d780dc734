// Every accessibility read of a capture (and of hit-probe's identifier
// inputs) goes through one AttributeReader: it applies the list-read cap,
// batches reads that belong together, asks a timed-out batch again one
// attribute at a time, and stops talking to an application that has stopped
// answering.
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

// How a batch gets the list attributes ("AXChildren", "AXVisibleChildren",
// "AXRows") among its attributes. A batch read has no index or count, so on
// macOS the whole array crosses the process boundary, and some applications
// answer it otherwise than the ranged read (one form unsupported, the other
// fine). What counts is the ranged read's answer.
enum class ListReads {
  // In the batch; a slot that came back as an error or not as a list of
  // elements is asked again with the ranged read.
  inBatch,
  // Always with the ranged read, the other attributes in one batch: for
  // elements whose lists can be long (tables, outlines, lists, grids,
  // browsers).
  ranged,
};

class AttributeReader {
 public:
  explicit AttributeReader(Accessibility& accessibility) : accessibility_(accessibility) {}

  Accessibility& accessibility() { return accessibility_; }

  // elementAttribute: "AXChildren", "AXVisibleChildren" and "AXRows" are read
  // as slices from index 0 (at most 9999 entries) and must be lists of
  // elements; everything else is a single read. Absent on any error.
  std::optional<AXValue> elementAttribute(const AXElement& element, std::string_view attribute);
  // The same answers as elementAttribute for each attribute, in one round
  // trip where it can: when the whole batch times out the attributes are
  // asked again one by one, and list attributes follow `lists`.
  std::vector<std::optional<AXValue>> elementAttributes(
      const AXElement& element, std::span<const std::string_view> attributes,
      ListReads lists = ListReads::inBatch);
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

// "AXChildren", "AXVisibleChildren" and "AXRows": read as slices.
bool isListAttribute(std::string_view attribute);

// elementValue: unwraps a point (kind 1), size (kind 2) or rectangle (kind 3).
enum class AXValueKind { point = 1, size = 2, rect = 3 };
std::optional<AXValue> elementValue(const std::optional<AXValue>& value, AXValueKind kind);

}  // namespace tessary
