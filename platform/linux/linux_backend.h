// The real Linux desktop: X11 for windows and screens, AT-SPI2 for
// accessibility, the process table for application names.
#pragma once

#include <memory>
#include <ostream>

#include "common/environment.h"
#include "platform/platform.h"

namespace tessary::linuxdesktop {

class LinuxAccessibility;

// The backend on the display named by DISPLAY; nothing, with the reason
// written to `err` as one line, when there is no display to open.
std::unique_ptr<PlatformBackend> openLinuxDesktop(const Environment& environment,
                                                  std::ostream& err);

// The accessibility service of a backend opened above (for the benchmark's
// call counts); null for any other backend.
LinuxAccessibility* linuxAccessibilityOf(PlatformBackend& backend);

}  // namespace tessary::linuxdesktop
