// The macOS backend: every service is the operating system's own, or a
// stand-in for one the program does not use (service_kits.h), so that a
// program links only the frameworks it needs.
#include "platform/backend.h"
#include "platform/macos/mac_clock.h"
#include "platform/macos/mac_random.h"
#include "platform/macos/service_kits.h"

namespace tessary {

namespace {

class MacPlatformBackend : public PlatformBackend {
 public:
  Platform& platform() override { return platform_; }

 private:
  std::unique_ptr<Accessibility> accessibility_ = macos::makeAccessibility();
  std::unique_ptr<WindowServer> windowServer_ = macos::makeWindowServer();
  std::unique_ptr<Screens> displays_ = macos::makeScreens();
  std::unique_ptr<Workspace> workspace_ = macos::makeWorkspace();
  macos::MacClock clock_;
  std::unique_ptr<HostWindows> hostWindows_ = macos::makeHostWindows();
  std::unique_ptr<SpeechRecognizer> speechRecognizer_ = macos::makeSpeechRecognizer();
  std::unique_ptr<InputState> inputState_ = macos::makeInputState();
  macos::MacRandom random_;
  macos::AppKitServices appKit_ = macos::makeAppKitServices(*displays_);
  Platform platform_{*accessibility_,
                     *windowServer_,
                     *appKit_.screens,
                     *workspace_,
                     clock_,
                     *hostWindows_,
                     *speechRecognizer_,
                     *inputState_,
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
