// The real AppKit services, for the one program that links this library.
#include "platform/macos/appkit_services.h"

#include "platform/macos/appkit/mac_appkit_screens.h"
#include "platform/macos/appkit/mac_application.h"
#include "platform/macos/appkit/mac_compositor.h"
#include "platform/macos/appkit/mac_pasteboard.h"
#include "platform/macos/appkit/mac_tuning_panel.h"

namespace tessary::macos {

AppKitServices makeAppKitServices() {
  return AppKitServices{std::make_unique<MacAppKitScreens>(), std::make_unique<MacApplication>(),
                        std::make_unique<MacCompositor>(), std::make_unique<MacPasteboard>(),
                        std::make_unique<MacTuningPanel>()};
}

}  // namespace tessary::macos
