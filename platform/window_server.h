// The window server's window list (CGWindowListCopyWindowInfo).
#pragma once

#include <cstdint>
#include <optional>

#include "platform/plist_value.h"

namespace tessary {

namespace windowlist {
constexpr uint32_t onScreenOnly = 1;
constexpr uint32_t onScreenAboveWindow = 2;
constexpr uint32_t onScreenBelowWindow = 4;
constexpr uint32_t includingWindow = 8;
constexpr uint32_t excludeDesktopElements = 16;
constexpr uint32_t nullWindowId = 0;
}  // namespace windowlist

class WindowServer {
 public:
  virtual ~WindowServer() = default;
  // The entries front to back; nothing when the call fails.
  virtual std::optional<PlistArray> copyWindowInfo(uint32_t options, uint32_t relativeToWindow) = 0;
};

}  // namespace tessary
