// The lines pane-scout prints for a window. Owner, title and bundle path may
// hold spaces; a reader splits on the field labels.
#pragma once

#include <string>
#include <string_view>

#include "pane-scout/window_entry.h"
#include "platform/workspace.h"

namespace tessary::panescout {

// "ok pid=… cgWindowId=… x=… y=… w=… h=… owner=… title=… appBundle=…", the
// numbers truncated toward zero, every line feed of the texts a space.
std::string windowLine(const WindowEntry& entry, std::string_view bundlePath);

// The bundle path of the running application with that pid, or "" when there
// is none or it has no bundle.
std::string bundlePathOf(Workspace& workspace, int32_t pid);

// "hit pid=… cgWindowId=… layer=… skip=… bounds=x,y,w,h owner=… title=…".
std::string hitLine(const WindowEntry& entry, std::string_view skipReason);

}  // namespace tessary::panescout
