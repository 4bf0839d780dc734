// Readers of one window-server entry (a CGWindowListCopyWindowInfo
// dictionary), answering as a typed cast of the entry's value does: a value
// of another kind reads as missing. Numbers interconvert as CoreFoundation
// numbers do (a whole real reads as an integer).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/geometry.h"
#include "platform/plist_value.h"

namespace tessary {

namespace windowkey {
constexpr std::string_view number = "kCGWindowNumber";
constexpr std::string_view ownerPid = "kCGWindowOwnerPID";
constexpr std::string_view ownerName = "kCGWindowOwnerName";
constexpr std::string_view name = "kCGWindowName";
constexpr std::string_view layer = "kCGWindowLayer";
constexpr std::string_view bounds = "kCGWindowBounds";
}  // namespace windowkey

// True when every entry of the list is a dictionary (keys are always texts
// here), which is what a cast of the whole list to a list of text-keyed maps
// requires.
bool isListOfDictionaries(const PlistArray& list);

std::optional<int32_t> windowOwnerPid(const PlistValue& entry);
// The text under `key`, or nullptr.
const std::string* windowText(const PlistValue& entry, std::string_view key);
std::optional<int64_t> windowLayer(const PlistValue& entry);
// kCGWindowNumber as an unsigned 32-bit number; nothing for a value that is
// not a whole number in that range.
std::optional<uint32_t> windowNumber(const PlistValue& entry);
// kCGWindowBounds as a rectangle: the map must hold numbers only (one value
// of another kind makes the whole map unusable); a missing "X", "Y", "Width"
// or "Height" reads as 0.
std::optional<Rect> windowBounds(const PlistValue& entry);

}  // namespace tessary
