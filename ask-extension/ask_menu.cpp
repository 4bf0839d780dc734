#include "ask-extension/ask_menu.h"

#include <optional>

namespace tessary::askextension {

namespace {

// URLByDeletingLastPathComponent on a file path: trailing slashes belong to
// the last component, and the root has nothing left to remove.
std::string_view withoutLastComponent(std::string_view path) {
  while (path.size() > 1 && path.back() == '/')
    path.remove_suffix(1);
  size_t slash = path.rfind('/');
  if (slash == std::string_view::npos) return {};
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

}  // namespace

void registerDirectories(FinderSyncController& controller) {
  controller.setDirectoryURLs({kObservedDirectory});
}

std::vector<std::string> collectPaths(FinderSyncController& controller) {
  std::vector<std::string> items =
      controller.selectedItemPaths().value_or(std::vector<std::string>{});
  if (items.empty()) {
    if (std::optional<std::string> folder = controller.targetedPath()) items.push_back(*folder);
  }
  std::vector<std::string> paths;
  paths.reserve(items.size());
  for (std::string& item : items) {
    if (!item.empty()) paths.push_back(std::move(item));
  }
  return paths;
}

std::string hostExecutablePath(std::string_view extensionBundlePath) {
  std::string contents(withoutLastComponent(withoutLastComponent(extensionBundlePath)));
  if (!contents.empty() && contents.back() != '/') contents += '/';
  return contents + kHostExecutableFolder + "/" + kHostExecutableName;
}

std::vector<std::string> hostArguments(const std::vector<std::string>& paths) {
  std::vector<std::string> arguments;
  arguments.reserve(paths.size() + 1);
  arguments.emplace_back(kAskArgument);
  arguments.insert(arguments.end(), paths.begin(), paths.end());
  return arguments;
}

void askToEditSelection(FinderSyncController& controller, TaskLauncher& launcher, SystemLog& log,
                        std::string_view extensionBundlePath) {
  std::vector<std::string> paths = collectPaths(controller);
  if (paths.empty()) return;
  std::optional<std::string> failure =
      launcher.launch(hostExecutablePath(extensionBundlePath), hostArguments(paths));
  if (failure) log.write(kLaunchFailurePrefix + *failure);
}

}  // namespace tessary::askextension
