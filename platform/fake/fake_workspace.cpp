#include "platform/fake/fake_state.h"

namespace tessary::fake {

namespace {
RunningApplication describe(const ApplicationRecord& app) {
  return RunningApplication{app.pid, app.name, app.bundleIdentifier, app.bundlePath};
}
}  // namespace

std::vector<RunningApplication> FakeWorkspace::runningApplications() {
  state_.recorder.record("runningApplications");
  std::vector<RunningApplication> running;
  for (const ApplicationRecord& app : state_.applications) {
    if (app.running) running.push_back(describe(app));
  }
  return running;
}

std::optional<RunningApplication> FakeWorkspace::frontmostApplication() {
  state_.recorder.record("frontmostApplication");
  if (!state_.frontmostApplication) return std::nullopt;
  const ApplicationRecord* app = state_.application(*state_.frontmostApplication);
  if (!app || !app->running) return std::nullopt;
  return describe(*app);
}

std::optional<Rect> FakeScreens::mainScreenFrame() {
  state_.recorder.record("mainScreenFrame");
  return state_.mainScreen;
}

}  // namespace tessary::fake
