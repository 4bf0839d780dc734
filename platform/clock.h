// Time and the run loop. All waiting goes through here so that tests run in
// virtual time.
#pragma once

#include <cstdint>

namespace tessary {

class Clock {
 public:
  virtual ~Clock() = default;
  // Absolute time in seconds (CFAbsoluteTimeGetCurrent).
  virtual double now() = 0;
  // usleep.
  virtual void sleepMicroseconds(uint64_t microseconds) = 0;
  // CFRunLoopRunInMode(kCFRunLoopDefaultMode, seconds, false) on the current
  // thread's run loop.
  virtual void runRunLoop(double seconds) = 0;
};

}  // namespace tessary
