// The general pasteboard (NSPasteboard.generalPasteboard).
#pragma once

#include <string_view>

namespace tessary {

class Pasteboard {
 public:
  virtual ~Pasteboard() = default;
  // clearContents.
  virtual void clearContents() = 0;
  // setString:forType: with the plain-string type; false when refused.
  virtual bool setPlainString(std::string_view text) = 0;
};

}  // namespace tessary
