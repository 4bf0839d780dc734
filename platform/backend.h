// The backend of this build. Exactly one implementation is linked: the macOS
// one, or on other systems the simulated desktop loaded from a scene file.
#pragma once

#include <memory>
#include <ostream>

#include "common/environment.h"
#include "platform/platform.h"

namespace tessary {

// Nothing when no backend can be opened; the reason has then been written to
// `err` as one line.
std::unique_ptr<PlatformBackend> openPlatformBackend(const Environment& environment,
                                                     std::ostream& err);

}  // namespace tessary
