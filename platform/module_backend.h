// The backend of a module that runs inside the host's own process (the
// Node-API module), opened once per load of the module.
#pragma once

#include <memory>
#include <string>
#include <variant>

#include "platform/platform.h"

namespace tessary {

// On macOS the system's own services; it cannot fail. Elsewhere the
// simulated desktop named by TESSARY_SIM_DESKTOP in the process environment,
// or an empty desktop without the variable, so that the module always loads
// (on an empty desktop no view has a window). On failure, one line naming the
// scene file and its problem.
std::variant<std::unique_ptr<PlatformBackend>, std::string> openModuleBackend();

}  // namespace tessary
