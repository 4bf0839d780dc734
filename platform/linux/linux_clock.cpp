#include "platform/linux/linux_clock.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

namespace tessary::linuxdesktop {

namespace {
constexpr double kReferenceDateUnixSeconds = 978307200;
// Bounds a wait so the conversion to microseconds cannot overflow.
constexpr double kLongestWait = 86400;
}  // namespace

double LinuxClock::now() {
  auto since = std::chrono::system_clock::now().time_since_epoch();
  return std::chrono::duration<double>(since).count() - kReferenceDateUnixSeconds;
}

void LinuxClock::sleepMicroseconds(uint64_t microseconds) {
  std::this_thread::sleep_for(std::chrono::microseconds(microseconds));
}

void LinuxClock::runRunLoop(double seconds) {
  if (!(seconds > 0)) return;
  sleepMicroseconds(static_cast<uint64_t>(std::min(seconds, kLongestWait) * 1e6));
}

}  // namespace tessary::linuxdesktop
