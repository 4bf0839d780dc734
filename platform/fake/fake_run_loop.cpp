#include "platform/fake/fake_run_loop.h"

#include <cmath>
#include <limits>
#include <string>

#include "platform/fake/fake_state.h"
#include "platform/fake/value_text.h"

namespace tessary::fake {

namespace {
constexpr size_t kReadCapacity = 64 * 1024;
constexpr double kNever = std::numeric_limits<double>::infinity();
}  // namespace

void FakeApplication::setActivationPolicy(int policy) {
  state_.recorder.record("setActivationPolicy", "", [&] { return std::to_string(policy); });
  activationPolicy_ = policy;
}

void FakeApplication::activateIgnoringOtherApps() {
  state_.recorder.record("activateIgnoringOtherApps");
  ++activations_;
}

void FakeApplication::run(std::function<void()> didFinishLaunching) {
  state_.recorder.record("run");
  performOnMainQueue(std::move(didFinishLaunching));
  while (!terminated_ && step(kNever)) {
  }
}

void FakeApplication::terminate() {
  state_.recorder.record("terminate");
  terminated_ = true;
}

void FakeApplication::performOnMainQueue(std::function<void()> work) {
  mainQueue_.push_back(std::move(work));
}

void FakeApplication::readStandardInput(InputStream* in,
                                        std::function<void(std::string_view)> onData) {
  state_.recorder.record("readStandardInput");
  input_ = in;
  onData_ = std::move(onData);
  reading_ = true;
  nextReadAt_ = state_.elapsed;
}

void FakeApplication::scheduleAfter(double seconds, std::function<void()> work) {
  const double delay = std::isfinite(seconds) && seconds > 0 ? seconds : 0;
  timers_.emplace(std::make_pair(state_.elapsed + delay, timerSequence_++), std::move(work));
}

void FakeApplication::runFor(double seconds) {
  const double limit = state_.elapsed + (std::isfinite(seconds) && seconds > 0 ? seconds : 0);
  while (!terminated_ && step(limit)) {
  }
  if (!terminated_ && state_.elapsed < limit) state_.elapsed = limit;
}

bool FakeApplication::step(double limit) {
  if (!mainQueue_.empty()) {
    std::function<void()> work = std::move(mainQueue_.front());
    mainQueue_.pop_front();
    if (work) work();
    return true;
  }
  const double timerAt = timers_.empty() ? kNever : timers_.begin()->first.first;
  double readAt = kNever;
  if (reading_) readAt = inputInterval ? nextReadAt_ : (timers_.empty() ? state_.elapsed : kNever);
  if (timerAt <= readAt && timerAt <= limit && timerAt != kNever) {
    auto timer = timers_.begin();
    std::function<void()> work = std::move(timer->second);
    timers_.erase(timer);
    if (timerAt > state_.elapsed) state_.elapsed = timerAt;
    work();
    return true;
  }
  if (readAt <= limit && readAt != kNever) {
    if (readAt > state_.elapsed) state_.elapsed = readAt;
    readOnce();
    return true;
  }
  return false;
}

void FakeApplication::readOnce() {
  char buffer[kReadCapacity];
  int errorNumber = 0;
  const long count = input_ ? input_->read(buffer, sizeof buffer, errorNumber) : 0;
  state_.recorder.record("readStandardInputData", "", [&] { return std::to_string(count); });
  if (count <= 0) {
    reading_ = false;
    onData_(std::string_view());
    return;
  }
  nextReadAt_ = state_.elapsed + (inputInterval ? *inputInterval : 0);
  onData_(std::string_view(buffer, static_cast<size_t>(count)));
}

}  // namespace tessary::fake
