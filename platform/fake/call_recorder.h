// The record of platform calls and the count of accessibility round trips.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/fake/fake_desktop.h"

namespace tessary::fake {

class CallRecorder {
 public:
  bool recording() const { return recording_; }
  void setRecording(bool on) { recording_ = on; }

  // `detail` is only evaluated while recording, so switching recording off
  // also saves building the texts.
  template <typename DetailFn>
  void record(std::string_view operation, std::string_view element, DetailFn&& detail) {
    if (!recording_) return;
    calls_.push_back(PlatformCall{std::string(operation), std::string(element), detail()});
  }
  void record(std::string_view operation, std::string_view element = {},
              std::string_view detail = {}) {
    if (!recording_) return;
    calls_.push_back(
        PlatformCall{std::string(operation), std::string(element), std::string(detail)});
  }

  void countRoundTrip() { ++roundTrips_; }
  uint64_t roundTrips() const { return roundTrips_; }
  void countElementReferences(uint64_t count) { elementReferences_ += count; }
  uint64_t elementReferences() const { return elementReferences_; }
  const std::vector<PlatformCall>& calls() const { return calls_; }
  void clear() {
    calls_.clear();
    roundTrips_ = 0;
    elementReferences_ = 0;
  }

 private:
  std::vector<PlatformCall> calls_;
  uint64_t roundTrips_ = 0;
  uint64_t elementReferences_ = 0;
  bool recording_ = true;
};

}  // namespace tessary::fake
