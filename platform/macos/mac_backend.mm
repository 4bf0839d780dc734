// The macOS backend: every service is the operating system's own.
#include "platform/backend.h"
#include "platform/macos/mac_accessibility.h"
#include "platform/macos/mac_application.h"
#include "platform/macos/mac_clock.h"
#include "platform/macos/mac_compositor.h"
#include "platform/macos/mac_host_windows.h"
#include "platform/macos/mac_input_state.h"
#include "platform/macos/mac_pasteboard.h"
#include "platform/macos/mac_random.h"
#include "platform/macos/mac_screens.h"
#include "platform/macos/mac_speech.h"
#include "platform/macos/mac_tuning_panel.h"
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
  macos::MacScreens screens_;
  macos::MacWorkspace workspace_;
  macos::MacClock clock_;
  macos::MacHostWindows hostWindows_;
  macos::MacSpeechRecognizer speechRecognizer_;
  macos::MacInputState inputState_;
  macos::MacApplication application_;
  macos::MacCompositor compositor_;
  macos::MacPasteboard pasteboard_;
  macos::MacRandom random_;
  macos::MacTuningPanel tuningPanel_;
  Platform platform_{accessibility_, windowServer_,     screens_,    workspace_,   clock_,
                     hostWindows_,   speechRecognizer_, inputState_, application_, compositor_,
                     pasteboard_,    random_,           tuningPanel_};
};

}  // namespace

// Nothing in the environment selects or configures it, and it cannot fail to
// open: permissions are asked for by the programs themselves (the
// accessibility trust check), not here.
std::unique_ptr<PlatformBackend> openPlatformBackend(const Environment&, std::ostream&) {
  return std::make_unique<MacPlatformBackend>();
}

}  // namespace tessary
