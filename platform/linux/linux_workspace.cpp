#include "platform/linux/linux_workspace.h"

#include <set>

#include "platform/linux/process_names.h"

namespace tessary::linuxdesktop {

namespace {
RunningApplication applicationOf(int32_t pid) {
  // Linux applications have no bundle identifier.
  return RunningApplication{pid, processName(pid), std::nullopt, executablePath(pid)};
}
}  // namespace

std::vector<RunningApplication> LinuxWorkspace::runningApplications() {
  std::vector<RunningApplication> applications;
  std::set<int32_t> listed;
  for (const auto& app : accessibility_.registeredApplications()) {
    if (app.pid > 0 && listed.insert(app.pid).second)
      applications.push_back(applicationOf(app.pid));
  }
  for (const X11WindowFacts& window : desktop_.windows()) {
    if (window.pid && *window.pid > 0 && listed.insert(*window.pid).second)
      applications.push_back(applicationOf(*window.pid));
  }
  return applications;
}

std::optional<RunningApplication> LinuxWorkspace::frontmostApplication() {
  std::optional<int32_t> pid = desktop_.activeWindowPid();
  if (!pid) return std::nullopt;
  return applicationOf(*pid);
}

std::optional<RunningApplication> LinuxWorkspace::runningApplication(int32_t pid) {
  for (RunningApplication& application : runningApplications()) {
    if (application.pid == pid) return std::move(application);
  }
  return std::nullopt;
}

bool LinuxWorkspace::activateApplication(int32_t pid, uint32_t) {
  for (const X11WindowFacts& window : desktop_.windows()) {  // front to back
    if (window.pid == pid && !window.overrideRedirect && isOnScreen(window))
      return desktop_.activateWindow(window.number);
  }
  return false;
}

}  // namespace tessary::linuxdesktop
