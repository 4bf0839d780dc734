// The services that need AppKit and Core Animation: the curtain's background
// application, band windows, pasteboard and tuning panel, and the screen list
// and pointer. Only frost-curtain uses them, and loading AppKit at launch
// costs every other program time and memory, so they are made by one
// function defined in two libraries, of which a program links exactly one
// (cmake/TessaryTargets.cmake chooses):
// - tessary_appkit_services (appkit/): the real services; it alone links
//   AppKit and QuartzCore;
// - tessary_no_appkit_services (without_appkit/): a desktop without them.
#pragma once

#include <memory>

#include "platform/background_application.h"
#include "platform/compositor.h"
#include "platform/pasteboard.h"
#include "platform/screens.h"
#include "platform/tuning_panel_views.h"

namespace tessary::macos {

struct AppKitServices {
  std::unique_ptr<Screens> screens;
  std::unique_ptr<BackgroundApplication> application;
  std::unique_ptr<Compositor> compositor;
  std::unique_ptr<Pasteboard> pasteboard;
  std::unique_ptr<TuningPanelViews> tuningPanel;
};

AppKitServices makeAppKitServices();

}  // namespace tessary::macos
