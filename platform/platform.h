// The services a program reaches the operating system through.
#pragma once

#include "platform/accessibility.h"
#include "platform/background_application.h"
#include "platform/clock.h"
#include "platform/compositor.h"
#include "platform/host_windows.h"
#include "platform/input_state.h"
#include "platform/pasteboard.h"
#include "platform/random_source.h"
#include "platform/screens.h"
#include "platform/speech_recognizer.h"
#include "platform/tuning_panel_views.h"
#include "platform/window_server.h"
#include "platform/workspace.h"

namespace tessary {

struct Platform {
  Accessibility& accessibility;
  WindowServer& windowServer;
  Screens& screens;
  Workspace& workspace;
  Clock& clock;
  HostWindows& hostWindows;
  SpeechRecognizer& speechRecognizer;
  InputState& inputState;
  BackgroundApplication& application;
  Compositor& compositor;
  Pasteboard& pasteboard;
  RandomSource& random;
  TuningPanelViews& tuningPanel;
};

// Owns the services of one backend for the lifetime of a program.
class PlatformBackend {
 public:
  virtual ~PlatformBackend() = default;
  virtual Platform& platform() = 0;
};

}  // namespace tessary
