// The simulated side of the file-manager menu extension: a controller with a
// scripted selection and target folder, a task launcher that records every
// launch (executable and exact argument vector) instead of starting
// anything, and a system log that keeps its lines.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/finder_sync.h"

namespace tessary::fake {

class FakeFinderSyncController : public FinderSyncController {
 public:
  void setDirectoryURLs(const std::vector<std::string>& directoryPaths) override;
  std::optional<std::vector<std::string>> selectedItemPaths() override;
  std::optional<std::string> targetedPath() override;

  // What the file manager answers; nothing: no list / no folder.
  std::optional<std::vector<std::string>> selection;
  std::optional<std::string> target;
  // Every setDirectoryURLs: call, in order.
  std::vector<std::vector<std::string>> directoryRegistrations;
  // Questions asked, in order: "selectedItemURLs", "targetedURL".
  std::vector<std::string> queries;
};

struct RecordedLaunch {
  std::string executablePath;
  std::vector<std::string> arguments;
  bool operator==(const RecordedLaunch&) const = default;
};

class FakeTaskLauncher : public TaskLauncher {
 public:
  // Launching anything but these fails the way NSTask reports a missing
  // executable: "The file “Tessary” doesn’t exist."
  std::set<std::string> executables;
  // Every attempt, failed ones included.
  std::vector<RecordedLaunch> launches;

  std::optional<std::string> launch(const std::string& executablePath,
                                    const std::vector<std::string>& arguments) override;
};

class FakeSystemLog : public SystemLog {
 public:
  std::vector<std::string> messages;
  void write(const std::string& message) override { messages.push_back(message); }
};

}  // namespace tessary::fake
