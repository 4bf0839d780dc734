#include "platform/plist_value.h"

#include <cmath>

namespace tessary {

std::optional<double> PlistValue::asReal() const {
  if (auto* i = std::get_if<int64_t>(&storage_)) return static_cast<double>(*i);
  if (auto* d = std::get_if<double>(&storage_)) return *d;
  return std::nullopt;
}

std::optional<int64_t> PlistValue::asInteger() const {
  if (auto* i = std::get_if<int64_t>(&storage_)) return *i;
  if (auto* d = std::get_if<double>(&storage_)) {
    // 2^63 itself is not representable, hence the strict upper bound.
    if (std::isfinite(*d) && std::trunc(*d) == *d && *d >= -9223372036854775808.0 &&
        *d < 9223372036854775808.0) {
      return static_cast<int64_t>(*d);
    }
  }
  return std::nullopt;
}

std::optional<int32_t> PlistValue::asInt32() const {
  auto v = asInteger();
  if (!v || *v < INT32_MIN || *v > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(*v);
}

std::optional<bool> PlistValue::asBool() const {
  if (auto* b = std::get_if<bool>(&storage_)) return *b;
  return std::nullopt;
}

const std::string* PlistValue::asString() const {
  return std::get_if<std::string>(&storage_);
}
const PlistArray* PlistValue::asArray() const {
  return std::get_if<PlistArray>(&storage_);
}
const PlistDict* PlistValue::asDict() const {
  return std::get_if<PlistDict>(&storage_);
}

const PlistValue* PlistValue::find(std::string_view key) const {
  const PlistDict* dict = asDict();
  if (!dict) return nullptr;
  auto it = dict->find(key);
  return it == dict->end() ? nullptr : &it->second;
}

}  // namespace tessary
