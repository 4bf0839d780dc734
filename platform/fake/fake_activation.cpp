// Looking up one running application and activating it. Activation is
// recorded like every call and has the platform's visible effect: the
// application becomes the frontmost one.
#include <string>

#include "platform/fake/fake_state.h"

namespace tessary::fake {

std::optional<RunningApplication> FakeWorkspace::runningApplication(int32_t pid) {
  state_.recorder.record("runningApplication", "", [&] { return std::to_string(pid); });
  const ApplicationRecord* app = state_.application(pid);
  if (!app || !app->running) return std::nullopt;
  return RunningApplication{app->pid, app->name, app->bundleIdentifier, app->bundlePath};
}

bool FakeWorkspace::activateApplication(int32_t pid, uint32_t options) {
  state_.recorder.record("activateApplication", "", [&] {
    return std::to_string(pid) + " options=" + std::to_string(options);
  });
  const ApplicationRecord* app = state_.application(pid);
  if (!app || !app->running) return false;
  state_.frontmostApplication = pid;
  return true;
}

}  // namespace tessary::fake
