// The real AppKit services, for the programs whose USES list names appkit.
#include "platform/macos/appkit/mac_appkit_screens.h"
#include "platform/macos/appkit/mac_application.h"
#include "platform/macos/appkit/mac_compositor.h"
#include "platform/macos/appkit/mac_pasteboard.h"
#include "platform/macos/appkit/mac_tuning_panel.h"
#include "platform/macos/service_kits.h"

namespace tessary::macos {

AppKitServices makeAppKitServices(Screens& displays) {
  return AppKitServices{std::make_unique<MacAppKitScreens>(displays),
                        std::make_unique<MacApplication>(), std::make_unique<MacCompositor>(),
                        std::make_unique<MacPasteboard>(), std::make_unique<MacTuningPanel>()};
}

}  // namespace tessary::macos
