// A module inside the host's process uses the system's services, as the
// programs do; nothing in the environment selects them.
#include <sstream>

#include "platform/backend.h"
#include "platform/module_backend.h"

namespace tessary {

std::variant<std::unique_ptr<PlatformBackend>, std::string> openModuleBackend() {
  std::ostringstream problem;
  if (std::unique_ptr<PlatformBackend> backend = openPlatformBackend(Environment{}, problem)) {
    return backend;
  }
  return problem.str();
}

}  // namespace tessary
