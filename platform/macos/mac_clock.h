// Time and the run loop over CoreFoundation and usleep.
#pragma once

#include "platform/clock.h"

namespace tessary::macos {

class MacClock : public Clock {
 public:
  double now() override;
  void sleepMicroseconds(uint64_t microseconds) override;
  void runRunLoop(double seconds) override;
};

}  // namespace tessary::macos
