// The process environment as the programs see it: exact, case-sensitive names.
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace tessary {

using Environment = std::map<std::string, std::string, std::less<>>;

// The variable's value, or nullptr when it is not set.
inline const std::string* environmentValue(const Environment& environment, std::string_view name) {
  auto it = environment.find(name);
  return it == environment.end() ? nullptr : &it->second;
}

inline bool environmentEquals(const Environment& environment, std::string_view name,
                              std::string_view expected) {
  const std::string* value = environmentValue(environment, name);
  return value && *value == expected;
}

}  // namespace tessary
