#include "pane_anchor/view_handle.h"

#include <cstring>

namespace tessary::anchor {

static_assert(sizeof(uintptr_t) == 8, "the host's handles hold 64-bit addresses");

std::optional<uintptr_t> viewAddressFromHandle(std::span<const uint8_t> handle) {
  uint64_t address = 0;
  if (handle.size() < sizeof address) return std::nullopt;
  std::memcpy(&address, handle.data(), sizeof address);
  if (address == 0) return std::nullopt;
  return static_cast<uintptr_t>(address);
}

}  // namespace tessary::anchor
