// The one JSON model and writer of the suite. Output is always valid UTF-8:
// ill-formed input bytes are written as U+FFFD.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace tessary {

class JsonValue;
using JsonArray = std::vector<JsonValue>;

// Members in insertion order; the writer sorts keys when asked to. Setting an
// existing key replaces its value.
class JsonObject {
 public:
  void set(std::string key, JsonValue value);
  const JsonValue* find(std::string_view key) const;
  const std::vector<std::pair<std::string, JsonValue>>& members() const { return members_; }
  bool empty() const;

 private:
  std::vector<std::pair<std::string, JsonValue>> members_;
};

class JsonValue {
 public:
  using Storage =
      std::variant<std::nullptr_t, bool, int64_t, double, std::string, JsonArray, JsonObject>;

  JsonValue() : storage_(nullptr) {}
  JsonValue(std::nullptr_t) : storage_(nullptr) {}
  JsonValue(bool v) : storage_(v) {}
  JsonValue(int v) : storage_(int64_t{v}) {}
  JsonValue(int64_t v) : storage_(v) {}
  JsonValue(double v) : storage_(v) {}
  JsonValue(std::string v) : storage_(std::move(v)) {}
  JsonValue(const char* v) : storage_(std::string(v)) {}
  JsonValue(JsonArray v) : storage_(std::move(v)) {}
  JsonValue(JsonObject v) : storage_(std::move(v)) {}

  const Storage& storage() const { return storage_; }
  Storage& storage() { return storage_; }

 private:
  Storage storage_;
};

// Defined once JsonValue is complete: clang instantiates the member's body
// where it is written, and libstdc++'s pair needs the complete type.
inline bool JsonObject::empty() const {
  return members_.empty();
}

// Two-space indentation, one member per line, keys in ascending byte order at
// every level. No trailing newline. Non-finite numbers cannot be written and
// give nothing (the caller then prints nothing). On success the text replaces
// `out`; on failure `out` is left as it was.
bool writeJsonPretty(const JsonValue& value, std::string& out);
// One line, keys in insertion order.
bool writeJsonCompact(const JsonValue& value, std::string& out);

// Appends `text` as a JSON string: quotes, backslashes, "/" and control
// characters escaped, ill-formed UTF-8 as U+FFFD. Writers that stream JSON
// themselves use this so their strings are those of the writers above.
void appendJsonString(std::string& out, std::string_view text);

}  // namespace tessary
