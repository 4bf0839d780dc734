// Running applications (NSWorkspace, NSRunningApplication).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tessary {

struct RunningApplication {
  int32_t pid = 0;
  std::optional<std::string> localizedName;
  std::optional<std::string> bundleIdentifier;
  std::optional<std::string> bundlePath;
};

class Workspace {
 public:
  virtual ~Workspace() = default;
  virtual std::vector<RunningApplication> runningApplications() = 0;
  virtual std::optional<RunningApplication> frontmostApplication() = 0;
};

}  // namespace tessary
