// The macOS backend: every service is the operating system's own. The
// AppKit ones come from whichever AppKit library the program links
// (appkit_services.h): the real ones in frost-curtain, stand-ins elsewhere.
#include "platform/backend.h"
#include "platform/macos/appkit_services.h"
#include "platform/macos/mac_accessibility.h"
#include "platform/macos/mac_clock.h"
#include "platform/macos/mac_host_windows.h"
#include "platform/macos/mac_input_state.h"
#include "platform/macos/mac_random.h"
#include "platform/macos/mac_speech.h"
#include "platform/macos/mac_window_server.h"
#include "platform/macos/mac_workspace.h"

namespace tessary {

namespace {

class MacPlatformBackend : public PlatformBackend {
 public:
  Platform& platform() override { return platform_; }

 private:
  macos::MacAccessibility accessibility_;
  macos::MacWindowServer windowServer_;
  macos::MacWorkspace workspace_;
  macos::MacClock clock_;
  macos::MacHostWindows hostWindows_;
  macos::MacSpeechRecognizer speechRecognizer_;
  macos::MacInputState inputState_;
  macos::MacRandom random_;
  macos::AppKitServices appKit_ = macos::makeAppKitServices();
  Platform platform_{accessibility_,
                     windowServer_,
                     *appKit_.screens,
                     workspace_,
                     clock_,
                     hostWindows_,
                     speechRecognizer_,
                     inputState_,
                     *appKit_.application,
                     *appKit_.compositor,
                     *appKit_.pasteboard,
                     random_,
                     *appKit_.tuningPanel};
};

}  // namespace

// Nothing in the environment selects or configures it, and it cannot fail to
// open: permissions are asked for by the programs themselves (the
// accessibility trust check), not here.
std::unique_ptr<PlatformBackend> openPlatformBackend(const Environment&, std::ostream&) {
  return std::make_unique<MacPlatformBackend>();
}

}  // namespace tessary
