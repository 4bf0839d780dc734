// Real time for the Linux backend. Nothing here runs a loop of events: the
// D-Bus replies this backend waits for are collected where they are asked.
#pragma once

#include "platform/clock.h"

namespace tessary::linuxdesktop {

class LinuxClock final : public Clock {
 public:
  // Seconds since 2001-01-01 UTC, the platform's reference date.
  double now() override;
  void sleepMicroseconds(uint64_t microseconds) override;
  void runRunLoop(double seconds) override;
};

}  // namespace tessary::linuxdesktop
