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
  // NSRunningApplication runningApplicationWithProcessIdentifier:; nothing
  // when no running application has that pid.
  virtual std::optional<RunningApplication> runningApplication(int32_t pid) = 0;
  // activateWithOptions: on the running application with that pid; false
  // when there is none or the platform refuses.
  virtual bool activateApplication(int32_t pid, uint32_t options) = 0;
};

// NSApplicationActivationOptions.
namespace activation {
constexpr uint32_t allWindows = 1;
constexpr uint32_t ignoringOtherApps = 2;
}  // namespace activation

}  // namespace tessary
