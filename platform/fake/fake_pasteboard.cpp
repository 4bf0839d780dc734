#include "platform/fake/fake_pasteboard.h"

#include <string>

#include "platform/fake/fake_state.h"

namespace tessary::fake {

void FakePasteboard::clearContents() {
  state_.recorder.record("clearPasteboard");
  plainString.reset();
  ++changeCount;
}

bool FakePasteboard::setPlainString(std::string_view text) {
  state_.recorder.record("setPasteboardString", "",
                         [&] { return std::to_string(text.size()) + " bytes"; });
  if (refusesStrings) return false;
  plainString = std::string(text);
  return true;
}

}  // namespace tessary::fake
