// The handle the host passes: the bytes of the Buffer its
// getNativeWindowHandle() returns, whose first 8 bytes hold the address of
// an NSView in native byte order. The address is read out of the bytes; the
// bytes themselves are never the view.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace tessary::anchor {

// The view address, or nothing when the handle is shorter than 8 bytes or
// holds address zero. The bytes need no alignment.
std::optional<uintptr_t> viewAddressFromHandle(std::span<const uint8_t> handle);

}  // namespace tessary::anchor
