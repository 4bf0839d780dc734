// On Linux the programs run against the simulated desktop when
// TESSARY_SIM_DESKTOP names its scene, else against the X11 desktop named by
// DISPLAY. Nothing falls back from one to the other: a scene that does not
// load and a display that does not open are errors.
#include "platform/backend.h"
#include "platform/fake/fake_desktop.h"
#include "platform/linux/linux_backend.h"

namespace tessary {

namespace {
constexpr const char* kSceneVariable = "TESSARY_SIM_DESKTOP";
constexpr const char* kNoBackendLine =
    "error: no desktop backend available on this platform (set TESSARY_SIM_DESKTOP to a scene "
    "file)";
}  // namespace

std::unique_ptr<PlatformBackend> openPlatformBackend(const Environment& environment,
                                                     std::ostream& err) {
  const std::string* scene = environmentValue(environment, kSceneVariable);
  if (scene && !scene->empty()) {
    auto desktop = fake::FakeDesktop::fromSceneFile(*scene);
    if (auto* problem = std::get_if<std::string>(&desktop)) {
      err << "error: " << *problem << "\n" << std::flush;
      return nullptr;
    }
    // Nobody can read the record of a separate process, and a long-running
    // program (a watch polling in virtual time) would only grow it.
    std::get<std::unique_ptr<fake::FakeDesktop>>(desktop)->setRecording(false);
    return std::move(std::get<std::unique_ptr<fake::FakeDesktop>>(desktop));
  }
  const std::string* display = environmentValue(environment, "DISPLAY");
  if (display && !display->empty()) return linuxdesktop::openLinuxDesktop(environment, err);
  err << kNoBackendLine << "\n" << std::flush;
  return nullptr;
}

}  // namespace tessary
