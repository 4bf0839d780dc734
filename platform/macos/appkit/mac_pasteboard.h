// The general pasteboard over NSPasteboard.
#pragma once

#include "platform/pasteboard.h"

namespace tessary::macos {

class MacPasteboard : public Pasteboard {
 public:
  void clearContents() override;
  bool setPlainString(std::string_view text) override;
};

}  // namespace tessary::macos
