#include "platform/fake/fake_finder_sync.h"

namespace tessary::fake {

void FakeFinderSyncController::setDirectoryURLs(const std::vector<std::string>& directoryPaths) {
  directoryRegistrations.push_back(directoryPaths);
}

std::optional<std::vector<std::string>> FakeFinderSyncController::selectedItemPaths() {
  queries.emplace_back("selectedItemURLs");
  return selection;
}

std::optional<std::string> FakeFinderSyncController::targetedPath() {
  queries.emplace_back("targetedURL");
  return target;
}

std::optional<std::string> FakeTaskLauncher::launch(const std::string& executablePath,
                                                    const std::vector<std::string>& arguments) {
  launches.push_back(RecordedLaunch{executablePath, arguments});
  if (executables.contains(executablePath)) return std::nullopt;
  std::string name = executablePath.substr(executablePath.rfind('/') + 1);
  return "The file \u201c" + name + "\u201d doesn\u2019t exist.";
}

}  // namespace tessary::fake
