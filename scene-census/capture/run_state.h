// The state one scene-census run shares between its phases. Each value is set
// once, in phase order; nothing is reset.
#pragma once

#include <cstdint>
#include <map>

#include "platform/attribute_reader.h"
#include "platform/program.h"

namespace tessary {

struct CaptureRunState {
  explicit CaptureRunState(ProgramContext& programContext)
      : context(programContext), reader(programContext.platform.accessibility) {}

  ProgramContext& context;
  // Every accessibility read and write of the run goes through this one reader,
  // so an application that stops answering is left alone for the rest of it.
  AttributeReader reader;
  bool isFormTestsMode = false;
  // Whether the private remote-checking notification registration exists on
  // this system; looked up once before anything else.
  bool hasRemoteNotificationRegistration = false;
  // One observer per process, registered while activating web content; they
  // live until the process ends.
  std::map<int32_t, AXObserverId> overlayAccessibilityObservers;

  Platform& platform() { return context.platform; }
  const Environment& environment() const { return context.environment; }
};

}  // namespace tessary
