// pane_anchor's operations against hostile desktops: bytes that load as a
// scene (window lists with missing, repeated or mistyped keys, host views in
// odd windows) are pinned, described and returned to the normal level
// through the views at the addresses the seeds use. Nothing may crash, and
// the answers must agree with each other.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "pane_anchor/window_anchor.h"
#include "platform/fake/fake_desktop.h"

namespace {

using namespace tessary;

std::vector<uint8_t> handleOf(uint64_t view) {
  std::vector<uint8_t> handle(8);
  std::memcpy(handle.data(), &view, 8);
  return handle;
}

void checkDescription(const anchor::ZOrderDescription& description, std::string_view scene) {
  if (!description.ok) return;
  const auto& place = description.place;
  fuzz::check(place.index >= -1, "describeZOrder: index below -1", scene);
  if (place.index >= 0) {
    fuzz::check(place.windowsAbove.size() <= static_cast<size_t>(place.index),
                "describeZOrder: more windows above than places before the window", scene);
  }
  for (const anchor::WindowAbove& window : place.windowsAbove) {
    fuzz::check(window.windowNumber != description.windowNumber,
                "describeZOrder: the window is listed above itself", scene);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view scene(reinterpret_cast<const char*>(data), size);
  auto loaded = fake::FakeDesktop::fromSceneText(scene);
  if (std::holds_alternative<std::string>(loaded)) return 0;
  std::unique_ptr<fake::FakeDesktop> desktop =
      std::move(std::get<std::unique_ptr<fake::FakeDesktop>>(loaded));
  Platform& platform = desktop->platform();

  for (uint64_t view : {0x10ULL, 0x20ULL, 0x600000001000ULL}) {
    const std::vector<uint8_t> handle = handleOf(view);
    checkDescription(anchor::describeZOrder(platform, handle), scene);
    for (uint32_t target : {1u, 5u, 501u, 4294967295u}) {
      const bool pinned = anchor::pinAbove(platform, handle, target);
      const anchor::ZOrderDescription description = anchor::describeZOrder(platform, handle);
      checkDescription(description, scene);
      if (pinned) {
        fuzz::check(description.ok && description.windowLevel == windowlevel::floating,
                    "pinAbove: true but the window does not float", scene);
      }
    }
    const int64_t number = anchor::getWindowNumber(platform, handle);
    if (anchor::setWindowLevelNormal(platform, handle)) {
      const anchor::ZOrderDescription description = anchor::describeZOrder(platform, handle);
      fuzz::check(description.ok && description.windowLevel == windowlevel::normal &&
                      description.windowNumber == number,
                  "setWindowLevelNormal: true but the window is not at the normal level", scene);
    }
  }
  for (const fake::PlatformCall& call : desktop->calls()) {
    fuzz::check(call.operation != "offMainThread", "window work off the main thread", scene);
  }
  return 0;
}
