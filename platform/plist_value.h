// Values of window-server entries, kept apart by kind so that "a value of the
// wrong type counts as missing" can be decided by the reader.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tessary {

class PlistValue;
// A value of another kind (data, date, null, ...): readers find it of the
// wrong type; the type name is kept for diagnostics only.
struct PlistOther {
  std::string typeName;
  bool operator==(const PlistOther&) const = default;
};
using PlistArray = std::vector<PlistValue>;
using PlistDict = std::map<std::string, PlistValue, std::less<>>;

class PlistValue {
 public:
  using Storage =
      std::variant<int64_t, double, bool, std::string, PlistArray, PlistDict, PlistOther>;

  PlistValue() : storage_(int64_t{0}) {}
  PlistValue(int64_t v) : storage_(v) {}
  PlistValue(int v) : storage_(int64_t{v}) {}
  PlistValue(double v) : storage_(v) {}
  PlistValue(bool v) : storage_(v) {}
  PlistValue(std::string v) : storage_(std::move(v)) {}
  PlistValue(const char* v) : storage_(std::string(v)) {}
  PlistValue(PlistArray v) : storage_(std::move(v)) {}
  PlistValue(PlistDict v) : storage_(std::move(v)) {}
  PlistValue(PlistOther v) : storage_(std::move(v)) {}

  const Storage& storage() const { return storage_; }

  // Numbers read as CoreFoundation numbers do for a Swift reader: an integer
  // reads as a real, and a real reads as an integer only when it is whole and
  // in range. Booleans, strings and containers are never numbers.
  std::optional<double> asReal() const;
  std::optional<int64_t> asInteger() const;
  std::optional<int32_t> asInt32() const;
  std::optional<bool> asBool() const;
  const std::string* asString() const;
  const PlistArray* asArray() const;
  const PlistDict* asDict() const;

  // Member of a dictionary value; nullptr when this is no dictionary or the
  // key is missing.
  const PlistValue* find(std::string_view key) const;

 private:
  Storage storage_;
};

}  // namespace tessary
