// The stand-ins, for every program that does not link the AppKit services:
// the screens are the main display from Core Graphics alone, with the
// pointer at the origin (the interface's defaults).
#include "platform/macos/appkit_services.h"
#include "platform/macos/mac_screens.h"
#include "platform/macos/without_appkit/no_appkit_services.h"

namespace tessary::macos {

AppKitServices makeAppKitServices() {
  return AppKitServices{std::make_unique<MacScreens>(), std::make_unique<NoApplication>(),
                        std::make_unique<NoCompositor>(), std::make_unique<NoPasteboard>(),
                        std::make_unique<NoTuningPanel>()};
}

}  // namespace tessary::macos
