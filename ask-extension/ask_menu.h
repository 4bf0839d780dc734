// ask-extension: the file manager's context-menu entry that starts the host
// with the selected items. The principal class (platform/macos/ask_extension)
// calls these for each of the file manager's requests; nothing is kept
// between them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/finder_sync.h"

namespace tessary::askextension {

inline constexpr const char* kMenuTitle = "";
inline constexpr const char* kMenuItemTitle = "Ask Tessary to Edit This";
inline constexpr const char* kMenuItemKeyEquivalent = "";
// The menu is offered in every folder.
inline constexpr const char* kObservedDirectory = "/";
inline constexpr const char* kAskArgument = "--ask";
inline constexpr const char* kHostExecutableFolder = "MacOS";
inline constexpr const char* kHostExecutableName = "Tessary";
inline constexpr const char* kLaunchFailurePrefix =
    "Ask Tessary Finder extension failed to launch Tessary: ";

// What the initialiser does: register the root folder.
void registerDirectories(FinderSyncController& controller);

// The selected items' paths, else the targeted folder's, in the order the
// file manager gave them, without empty paths.
std::vector<std::string> collectPaths(FinderSyncController& controller);

// The host's executable for an extension bundle lying in the host bundle's
// Contents/PlugIns folder: .../Contents/PlugIns/X.appex gives
// .../Contents/MacOS/Tessary.
std::string hostExecutablePath(std::string_view extensionBundlePath);

// "--ask" followed by one argument per path, each exactly as given.
std::vector<std::string> hostArguments(const std::vector<std::string>& paths);

// The menu item's action: collect the paths and, when there are any, start
// the host with them; a failed start is written to the system log, one line.
void askToEditSelection(FinderSyncController& controller, TaskLauncher& launcher, SystemLog& log,
                        std::string_view extensionBundlePath);

}  // namespace tessary::askextension
