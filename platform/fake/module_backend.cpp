// Outside macOS the module runs against the simulated desktop. It must load
// without one as well (the host requires it at start-up), so without
// TESSARY_SIM_DESKTOP it gets an empty desktop: no view has a window there.
#include "platform/module_backend.h"

#include <cstdlib>

#include "platform/fake/fake_desktop.h"

namespace tessary {

std::variant<std::unique_ptr<PlatformBackend>, std::string> openModuleBackend() {
  const char* scene = std::getenv("TESSARY_SIM_DESKTOP");
  auto desktop = scene && *scene ? fake::FakeDesktop::fromSceneFile(scene)
                                 : fake::FakeDesktop::fromSceneText("{}");
  if (auto* problem = std::get_if<std::string>(&desktop)) return *problem;
  return std::unique_ptr<PlatformBackend>(
      std::move(std::get<std::unique_ptr<fake::FakeDesktop>>(desktop)));
}

}  // namespace tessary
