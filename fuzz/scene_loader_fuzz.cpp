// Arbitrary bytes as a scene: the loader gives a desktop or one line saying
// what is wrong, never a crash, a hang or a blow-up of memory.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>

#include "fuzz/fuzz_check.h"
#include "platform/fake/fake_desktop.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tessary;
  auto loaded =
      fake::FakeDesktop::fromSceneText(std::string_view(reinterpret_cast<const char*>(data), size));
  if (auto* problem = std::get_if<std::string>(&loaded)) {
    fuzz::check(!problem->empty(), "a refused scene says why");
    fuzz::check(problem->find('\n') == std::string::npos, "the reason is one line", *problem);
    return 0;
  }
  auto& desktop = std::get<std::unique_ptr<fake::FakeDesktop>>(loaded);
  fuzz::check(desktop != nullptr, "a loaded scene gives a desktop");
  // The cheap whole-desktop questions a program asks first.
  Platform& platform = desktop->platform();
  platform.workspace.runningApplications();
  platform.workspace.frontmostApplication();
  platform.screens.mainScreenFrame();
  platform.windowServer.copyWindowInfo(0, 0);
  return 0;
}
