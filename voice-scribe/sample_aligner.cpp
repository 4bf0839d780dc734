#include "voice-scribe/sample_aligner.h"

#include <algorithm>

namespace tessary {

std::span<char> SampleAligner::readSpace() {
  // The odd byte moves to the front only now: until this call the caller
  // may still be copying the samples in front of it.
  if (pendingCarry_) {
    buffer_[0] = buffer_[pendingCarryAt_];
    carried_ = 1;
    pendingCarry_ = false;
  }
  return std::span<char>(buffer_.data() + carried_, kReadCapacity);
}

std::span<const char> SampleAligner::takeSamples(size_t count) {
  const size_t total = carried_ + std::min(count, kReadCapacity);
  const size_t whole = total - total % 2;
  carried_ = 0;
  if (whole < total) {
    pendingCarry_ = true;
    pendingCarryAt_ = whole;
  }
  return std::span<const char>(buffer_.data(), whole);
}

}  // namespace tessary
