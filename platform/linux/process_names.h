// What the system says about a process: the name a user knows it by and
// its executable.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tessary::linuxdesktop {

// The executable's file name when the process runs it under its own name,
// else the process's own name (a script run by an interpreter is known by
// the script's name); nothing for a process that is gone.
std::optional<std::string> processName(int32_t pid);
std::optional<std::string> executablePath(int32_t pid);

// The rule itself, for the two facts read from /proc.
std::string chooseProcessName(const std::string& command, const std::string& executable);

}  // namespace tessary::linuxdesktop
