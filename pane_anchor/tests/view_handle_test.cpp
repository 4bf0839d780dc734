// Reading the view address out of the handle's bytes.
#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <vector>

#include "pane_anchor/view_handle.h"

namespace tessary::anchor {
namespace {

std::vector<uint8_t> bytesOf(uint64_t address, size_t extra = 0) {
  std::vector<uint8_t> bytes(sizeof address + extra, 0xEE);
  std::memcpy(bytes.data(), &address, sizeof address);
  return bytes;
}

TEST(ViewHandle, ReadsTheAddressStoredInTheFirstEightBytes) {
  constexpr uint64_t kView = 0x00006000'01234560;
  std::vector<uint8_t> handle = bytesOf(kView);
  EXPECT_EQ(viewAddressFromHandle(handle), kView);
  // The address is what the bytes hold, not where they are.
  EXPECT_NE(viewAddressFromHandle(handle), reinterpret_cast<uintptr_t>(handle.data()));
}

TEST(ViewHandle, ReadsTheHostsByteOrder) {
  const uint8_t littleEndian[8] = {0x60, 0x45, 0x23, 0x01, 0x00, 0x60, 0x00, 0x00};
  uint64_t expected = 0;
  std::memcpy(&expected, littleEndian, 8);
  EXPECT_EQ(viewAddressFromHandle(littleEndian), expected);
  if constexpr (std::endian::native == std::endian::little) {
    EXPECT_EQ(expected, 0x00006000'01234560u);
  }
}

TEST(ViewHandle, IgnoresBytesPastTheEighthAndNeedsNoAlignment) {
  constexpr uint64_t kView = 0x7f00'00c0'ffeeULL;
  std::vector<uint8_t> storage(1 + 8 + 8, 0xAB);
  std::memcpy(storage.data() + 1, &kView, 8);
  EXPECT_EQ(viewAddressFromHandle(std::span(storage).subspan(1)), kView);
  EXPECT_EQ(viewAddressFromHandle(bytesOf(kView, 100)), kView);
}

TEST(ViewHandle, ShortHandlesAndAddressZeroAreUnusable) {
  std::vector<uint8_t> handle = bytesOf(0x600001234560);
  for (size_t length = 0; length < 8; ++length) {
    EXPECT_EQ(viewAddressFromHandle(std::span(handle).first(length)), std::nullopt) << length;
  }
  EXPECT_EQ(viewAddressFromHandle(bytesOf(0)), std::nullopt);
  EXPECT_EQ(viewAddressFromHandle(bytesOf(0, 8)), std::nullopt);  // later bytes do not count
}

}  // namespace
}  // namespace tessary::anchor
