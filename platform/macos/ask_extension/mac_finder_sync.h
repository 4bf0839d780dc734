// The menu extension's services on macOS: the shared FIFinderSyncController,
// NSTask and os_log. Only the principal class uses them.
#pragma once

#include "platform/finder_sync.h"

namespace tessary::macos {

class MacFinderSyncController : public FinderSyncController {
 public:
  void setDirectoryURLs(const std::vector<std::string>& directoryPaths) override;
  std::optional<std::vector<std::string>> selectedItemPaths() override;
  std::optional<std::string> targetedPath() override;
};

class MacTaskLauncher : public TaskLauncher {
 public:
  std::optional<std::string> launch(const std::string& executablePath,
                                    const std::vector<std::string>& arguments) override;
};

class MacSystemLog : public SystemLog {
 public:
  void write(const std::string& message) override;
};

}  // namespace tessary::macos
