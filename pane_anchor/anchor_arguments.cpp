#include "pane_anchor/anchor_arguments.h"

#include <algorithm>
#include <cmath>

namespace tessary::anchor {

bool argumentsFit(std::span<const ArgumentKind> given, const Signature& signature) {
  if (given.size() < signature.required.size()) return false;
  return std::equal(signature.required.begin(), signature.required.end(), given.begin());
}

uint32_t toUint32(double value) {
  if (!std::isfinite(value)) return 0;
  constexpr double kTwoTo32 = 4294967296.0;
  // fmod is exact, so even values far beyond 2^53 wrap correctly.
  double wrapped = std::fmod(std::trunc(value), kTwoTo32);
  if (wrapped < 0) wrapped += kTwoTo32;
  return static_cast<uint32_t>(wrapped);
}

}  // namespace tessary::anchor
