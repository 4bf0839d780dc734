// What the file-manager menu extension uses of the operating system: the
// FinderSync controller, the task launcher and the system log.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tessary {

// The shared FIFinderSyncController. URLs cross as their file-system paths:
// the backend turns each URL into its `path` ("" when it has none).
class FinderSyncController {
 public:
  virtual ~FinderSyncController() = default;
  // setDirectoryURLs: with one file URL per path.
  virtual void setDirectoryURLs(const std::vector<std::string>& directoryPaths) = 0;
  // selectedItemURLs, in the order the file manager reports them; nothing
  // when it returns no list.
  virtual std::optional<std::vector<std::string>> selectedItemPaths() = 0;
  // targetedURL: the folder the menu was opened on, if any.
  virtual std::optional<std::string> targetedPath() = 0;
};

// NSTask: the executable is started directly with `arguments` as its
// argument vector (no shell), and not waited for.
class TaskLauncher {
 public:
  virtual ~TaskLauncher() = default;
  // launchAndReturnError:. Nothing when the task started, else the error's
  // description.
  virtual std::optional<std::string> launch(const std::string& executablePath,
                                            const std::vector<std::string>& arguments) = 0;
};

// os_log on the default log.
class SystemLog {
 public:
  virtual ~SystemLog() = default;
  virtual void write(const std::string& message) = 0;
};

}  // namespace tessary
