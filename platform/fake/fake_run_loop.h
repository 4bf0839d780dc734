// The simulated background application: its main queue, timers in virtual
// time, and standard input read from the program's InputStream between them.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <utility>

#include "platform/background_application.h"
#include "platform/fake/fake_desktop.h"

namespace tessary::fake {

class FakeApplication : public BackgroundApplication {
 public:
  explicit FakeApplication(FakeDesktop::State& state) : state_(state) {}

  void setActivationPolicy(int policy) override;
  void activateIgnoringOtherApps() override;
  void run(std::function<void()> didFinishLaunching) override;
  void terminate() override;
  void performOnMainQueue(std::function<void()> work) override;
  void readStandardInput(InputStream* in, std::function<void(std::string_view)> onData) override;

  // Runs `work` on the main thread once `seconds` of virtual time have
  // passed (animations, transaction completions).
  void scheduleAfter(double seconds, std::function<void()> work);
  // Runs queued work, due timers and due reads until `seconds` of virtual
  // time have passed or the application terminates; the clock then stands
  // at the end of that time.
  void runFor(double seconds);

  // When standard input is read again after a read: this many virtual
  // seconds later, or (nothing) once no work and no timer is left, as a host
  // that waits for the replies before it writes on.
  std::optional<double> inputInterval;

  std::optional<int> activationPolicy() const { return activationPolicy_; }
  int activations() const { return activations_; }
  bool terminated() const { return terminated_; }

 private:
  // Does the next thing due by `limit`; false when nothing is.
  bool step(double limit);
  void readOnce();

  FakeDesktop::State& state_;
  std::deque<std::function<void()>> mainQueue_;
  std::map<std::pair<double, uint64_t>, std::function<void()>> timers_;
  uint64_t timerSequence_ = 0;
  InputStream* input_ = nullptr;
  std::function<void(std::string_view)> onData_;
  bool reading_ = false;
  double nextReadAt_ = 0;
  std::optional<int> activationPolicy_;
  int activations_ = 0;
  bool terminated_ = false;
};

}  // namespace tessary::fake
