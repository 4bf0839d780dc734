// The macOS services come in kits, one per framework a service needs, so that
// a program links and loads only the frameworks of the services it uses.
// Each kit's maker below is defined in two libraries, of which a program
// links exactly one (tessary_link_backend in cmake/TessaryTargets.cmake,
// after the program's USES list):
// - tessary_mac_<kit>: the real service, the only library that links the
//   kit's frameworks (platform/macos/CMakeLists.txt lists them);
// - tessary_mac_no_<kit> (stand_ins/): a desktop without that service, whose
//   every call is safe and answers what its interface says of something
//   absent.
// The clock and the random source need only CoreFoundation and the C
// library, which every program links; they are always real.
#pragma once

#include <memory>

#include "platform/accessibility.h"
#include "platform/background_application.h"
#include "platform/compositor.h"
#include "platform/host_windows.h"
#include "platform/input_state.h"
#include "platform/pasteboard.h"
#include "platform/screens.h"
#include "platform/speech_recognizer.h"
#include "platform/tuning_panel_views.h"
#include "platform/window_server.h"
#include "platform/workspace.h"

namespace tessary::macos {

std::unique_ptr<Accessibility> makeAccessibility();        // accessibility: HIServices
std::unique_ptr<WindowServer> makeWindowServer();          // window_server: CoreGraphics
std::unique_ptr<Screens> makeScreens();                    // screens: CoreGraphics
std::unique_ptr<Workspace> makeWorkspace();                // workspace: Foundation
std::unique_ptr<HostWindows> makeHostWindows();            // host_windows: Foundation
std::unique_ptr<SpeechRecognizer> makeSpeechRecognizer();  // speech: Foundation
std::unique_ptr<InputState> makeInputState();              // input_state: CoreGraphics, IOKit

// appkit: AppKit, QuartzCore. The curtain's background application, band
// windows, pasteboard and tuning panel, and screens that add AppKit's screen
// list and pointer to `displays` (the screens kit's main display).
struct AppKitServices {
  std::unique_ptr<Screens> screens;
  std::unique_ptr<BackgroundApplication> application;
  std::unique_ptr<Compositor> compositor;
  std::unique_ptr<Pasteboard> pasteboard;
  std::unique_ptr<TuningPanelViews> tuningPanel;
};
AppKitServices makeAppKitServices(Screens& displays);

}  // namespace tessary::macos
