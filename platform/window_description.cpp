#include "platform/window_description.h"

#include <algorithm>

namespace tessary {

bool isListOfDictionaries(const PlistArray& list) {
  return std::all_of(list.begin(), list.end(),
                     [](const PlistValue& entry) { return entry.asDict() != nullptr; });
}

std::optional<int32_t> windowOwnerPid(const PlistValue& entry) {
  const PlistValue* value = entry.find(windowkey::ownerPid);
  return value ? value->asInt32() : std::nullopt;
}

const std::string* windowText(const PlistValue& entry, std::string_view key) {
  const PlistValue* value = entry.find(key);
  return value ? value->asString() : nullptr;
}

std::optional<int64_t> windowLayer(const PlistValue& entry) {
  const PlistValue* value = entry.find(windowkey::layer);
  return value ? value->asInteger() : std::nullopt;
}

std::optional<uint32_t> windowNumber(const PlistValue& entry) {
  const PlistValue* value = entry.find(windowkey::number);
  std::optional<int64_t> number = value ? value->asInteger() : std::nullopt;
  if (!number || *number < 0 || *number > UINT32_MAX) return std::nullopt;
  return static_cast<uint32_t>(*number);
}

std::optional<Rect> windowBounds(const PlistValue& entry) {
  const PlistValue* value = entry.find(windowkey::bounds);
  const PlistDict* map = value ? value->asDict() : nullptr;
  if (!map) return std::nullopt;
  for (const auto& [key, member] : *map) {
    if (!member.asReal()) return std::nullopt;
  }
  auto member = [map](std::string_view key) {
    auto it = map->find(key);
    return it == map->end() ? 0.0 : *it->second.asReal();
  };
  return Rect{member("X"), member("Y"), member("Width"), member("Height")};
}

}  // namespace tessary
