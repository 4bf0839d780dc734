#include "platform/linux/process_names.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "common/utf8.h"

namespace tessary::linuxdesktop {

namespace {
// The kernel keeps this many bytes of a process's own name.
constexpr size_t kCommandNameLength = 15;
}  // namespace

std::string chooseProcessName(const std::string& command, const std::string& executable) {
  std::string file = std::filesystem::path(executable).filename().string();
  if (!file.empty() && !command.empty() && file.compare(0, kCommandNameLength, command) == 0)
    return file;
  return command.empty() ? file : command;
}

std::optional<std::string> executablePath(int32_t pid) {
  if (pid <= 0) return std::nullopt;
  std::error_code error;
  std::filesystem::path path =
      std::filesystem::read_symlink("/proc/" + std::to_string(pid) + "/exe", error);
  if (error) return std::nullopt;
  return path.string();
}

std::optional<std::string> processName(int32_t pid) {
  if (pid <= 0) return std::nullopt;
  std::ifstream commFile("/proc/" + std::to_string(pid) + "/comm");
  std::string command;
  if (!commFile || !std::getline(commFile, command)) return std::nullopt;
  // Process and file names are bytes; the name is shown as text.
  std::string name = chooseProcessName(command, executablePath(pid).value_or(""));
  if (name.empty()) return std::nullopt;
  return sanitizedUtf8(name);
}

}  // namespace tessary::linuxdesktop
