// Turns the bytes of standard input, however the reads split them, into
// whole 16-bit samples. A read of odd length leaves its last byte for the
// next one, so the samples never slip by a byte; nothing else is kept
// between reads.
#pragma once

#include <array>
#include <cstddef>
#include <span>

namespace tessary {

class SampleAligner {
 public:
  // The most a single read delivers.
  static constexpr size_t kReadCapacity = 64 * 1024;

  // Where the next read puts its bytes (after a byte carried from the last
  // read), and at most how many.
  std::span<char> readSpace();
  // The whole samples of the carried byte and the `count` bytes just read
  // into readSpace(): an even number of bytes, valid until the next
  // readSpace(). An odd last byte is carried over.
  std::span<const char> takeSamples(size_t count);
  // True while a byte waits for its partner (at end of input it is dropped:
  // half a sample is no sample).
  bool carrying() const { return pendingCarry_ || carried_ > 0; }

 private:
  std::array<char, kReadCapacity + 1> buffer_{};
  size_t carried_ = 0;         // bytes at the front of buffer_ from the last read
  bool pendingCarry_ = false;  // the last byte handed out stays for the next read
  size_t pendingCarryAt_ = 0;
};

}  // namespace tessary
