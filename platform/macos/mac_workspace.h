// Running applications over NSWorkspace and NSRunningApplication.
#pragma once

#include "platform/workspace.h"

namespace tessary::macos {

class MacWorkspace : public Workspace {
 public:
  std::vector<RunningApplication> runningApplications() override;
  std::optional<RunningApplication> frontmostApplication() override;
};

}  // namespace tessary::macos
