// Running applications: those in the accessibility registry and those that
// own a window, named after their processes; the frontmost is the one whose
// window is active.
#pragma once

#include "platform/linux/linux_accessibility.h"
#include "platform/linux/x11_desktop.h"
#include "platform/workspace.h"

namespace tessary::linuxdesktop {

class LinuxWorkspace final : public Workspace {
 public:
  LinuxWorkspace(LinuxAccessibility& accessibility, X11Desktop& desktop)
      : accessibility_(accessibility), desktop_(desktop) {}
  std::vector<RunningApplication> runningApplications() override;
  std::optional<RunningApplication> frontmostApplication() override;
  std::optional<RunningApplication> runningApplication(int32_t pid) override;
  // Activates the application's frontmost window: X11 has no notion of an
  // active application, only of an active window.
  bool activateApplication(int32_t pid, uint32_t options) override;

 private:
  LinuxAccessibility& accessibility_;
  X11Desktop& desktop_;
};

}  // namespace tessary::linuxdesktop
