#include "platform/macos/mac_clock.h"

#include <CoreFoundation/CoreFoundation.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>

namespace tessary::macos {

namespace {
// usleep takes 32 bits of microseconds (and POSIX lets it refuse a second or
// more, though macOS does not); long waits go in pieces.
constexpr uint64_t kLongestSleep = 999999;
// Bounds the fallback wait of runRunLoop so the conversion to microseconds
// cannot overflow.
constexpr double kLongestRunLoopWait = 86400;
}  // namespace

double MacClock::now() {
  return CFAbsoluteTimeGetCurrent();
}

void MacClock::sleepMicroseconds(uint64_t microseconds) {
  while (microseconds > 0) {
    uint64_t piece = std::min(microseconds, kLongestSleep);
    usleep(static_cast<useconds_t>(piece));
    microseconds -= piece;
  }
}

void MacClock::runRunLoop(double seconds) {
  if (std::isnan(seconds)) seconds = 0;
  double deadline = now() + seconds;
  SInt32 outcome = CFRunLoopRunInMode(kCFRunLoopDefaultMode, seconds, false);
  // With no source or timer in the mode the run loop returns at once. The
  // caller asked for the time to pass, so wait it out here instead of letting
  // its loop spin on the processor until the deadline.
  if (outcome == kCFRunLoopRunFinished) {
    double remaining = std::min(deadline - now(), kLongestRunLoopWait);
    if (remaining > 0) sleepMicroseconds(static_cast<uint64_t>(remaining * 1e6));
  }
}

}  // namespace tessary::macos
