// Values that cross the accessibility boundary. Kinds stay apart exactly as
// the platform delivers them: text is not a number is not a boolean, and an
// attributed string or URL is "other", never text.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "common/geometry.h"

namespace tessary {

// Accessibility error codes, numerically those of the platform.
namespace axerror {
constexpr int32_t success = 0;
constexpr int32_t failure = -25200;
constexpr int32_t illegalArgument = -25201;
constexpr int32_t invalidUIElement = -25202;
constexpr int32_t invalidUIElementObserver = -25203;
constexpr int32_t cannotComplete = -25204;  // also what a messaging timeout gives
constexpr int32_t attributeUnsupported = -25205;
constexpr int32_t actionUnsupported = -25206;
constexpr int32_t notificationUnsupported = -25207;
constexpr int32_t notImplemented = -25208;
constexpr int32_t notificationAlreadyRegistered = -25209;
constexpr int32_t notificationNotRegistered = -25210;
constexpr int32_t apiDisabled = -25211;
constexpr int32_t noValue = -25212;
constexpr int32_t parameterizedAttributeUnsupported = -25213;
constexpr int32_t notEnoughPrecision = -25214;
}  // namespace axerror

using AXPoint = Point;
using AXSize = Size;
struct AXRect {
  AXPoint origin;
  AXSize size;
  bool operator==(const AXRect&) const = default;
};
struct AXRange {
  int64_t location = 0, length = 0;
  bool operator==(const AXRange&) const = default;
};

// A live accessibility element. The backend owns what `native` points at
// (a retained AXUIElementRef on macOS, a node of the simulated desktop) and
// computes `hash` once, the way the platform hashes the reference (CFHash).
class AXElement {
 public:
  AXElement() = default;
  AXElement(std::shared_ptr<const void> native, uint64_t hash)
      : native_(std::move(native)), hash_(hash) {}

  const void* native() const { return native_.get(); }
  uint64_t hash() const { return hash_; }
  explicit operator bool() const { return native_ != nullptr; }

 private:
  std::shared_ptr<const void> native_;
  uint64_t hash_ = 0;
};

// Any value the platform does not model further (attributed string, URL,
// date, ...); the type name is kept for diagnostics only.
struct AXOtherValue {
  std::string typeName;
  bool operator==(const AXOtherValue&) const = default;
};

class AXValue;
using AXValueList = std::vector<AXValue>;

class AXValue {
 public:
  using Storage = std::variant<std::string, int64_t, double, bool, AXPoint, AXSize, AXRect, AXRange,
                               AXElement, AXValueList, AXOtherValue>;

  AXValue() : storage_(AXOtherValue{}) {}
  AXValue(std::string v) : storage_(std::move(v)) {}
  AXValue(const char* v) : storage_(std::string(v)) {}
  AXValue(int64_t v) : storage_(v) {}
  AXValue(int v) : storage_(int64_t{v}) {}
  AXValue(double v) : storage_(v) {}
  AXValue(bool v) : storage_(v) {}
  AXValue(AXPoint v) : storage_(v) {}
  AXValue(AXSize v) : storage_(v) {}
  AXValue(AXRect v) : storage_(v) {}
  AXValue(AXRange v) : storage_(v) {}
  AXValue(AXElement v) : storage_(std::move(v)) {}
  AXValue(AXValueList v) : storage_(std::move(v)) {}
  AXValue(AXOtherValue v) : storage_(std::move(v)) {}

  const Storage& storage() const { return storage_; }

  const std::string* text() const { return std::get_if<std::string>(&storage_); }
  std::optional<bool> boolean() const;
  // A boolean, or a number that is exactly 0 or 1 (an application may answer
  // a CFNumber where a CFBoolean is meant). The same rule as for numbers in
  // window-server entries, taken from a Swift reader's bridging: a number
  // reads as another kind only when the value is exactly representable in
  // it, so 2 and 0.5 are no booleans.
  std::optional<bool> truthValue() const;
  // Integer, real or boolean (a boolean reads as 1 or 0), as the platform's
  // number type answers for any of them.
  std::optional<double> number() const;
  bool isNumber() const { return number().has_value(); }
  std::optional<AXPoint> point() const;
  std::optional<AXSize> size() const;
  std::optional<AXRect> rect() const;
  std::optional<AXRange> range() const;
  const AXElement* element() const { return std::get_if<AXElement>(&storage_); }
  const AXValueList* list() const { return std::get_if<AXValueList>(&storage_); }
  // The elements of a list that holds element references only; nothing for
  // anything else (a list with one non-element entry included).
  std::optional<std::vector<AXElement>> elementList() const;

 private:
  Storage storage_;
};

// The answer of one accessibility call: an error code, and the value when the
// call succeeded and answered something.
struct AXResult {
  int32_t error = axerror::success;
  std::optional<AXValue> value;

  static AXResult failed(int32_t code) { return AXResult{code, std::nullopt}; }
  static AXResult of(AXValue v) { return AXResult{axerror::success, std::move(v)}; }
  // The value, or nothing when the call failed or answered nothing.
  const AXValue* get() const { return error == axerror::success && value ? &*value : nullptr; }
};

}  // namespace tessary
