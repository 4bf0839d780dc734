// Running applications over NSWorkspace and NSRunningApplication.
#pragma once

#include "platform/workspace.h"

namespace tessary::macos {

class MacWorkspace : public Workspace {
 public:
  std::vector<RunningApplication> runningApplications() override;
  std::optional<RunningApplication> frontmostApplication() override;
  std::optional<RunningApplication> runningApplication(int32_t pid) override;
  bool activateApplication(int32_t pid, uint32_t options) override;
};

}  // namespace tessary::macos
