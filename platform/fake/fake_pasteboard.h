// The simulated general pasteboard.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/fake/fake_desktop.h"
#include "platform/pasteboard.h"

namespace tessary::fake {

class FakePasteboard : public Pasteboard {
 public:
  explicit FakePasteboard(FakeDesktop::State& state) : state_(state) {}
  void clearContents() override;
  bool setPlainString(std::string_view text) override;

  // What the pasteboard holds as a plain string, if anything.
  std::optional<std::string> plainString;
  uint64_t changeCount = 0;
  // The scene's "refusesStrings": every setPlainString fails.
  bool refusesStrings = false;

 private:
  FakeDesktop::State& state_;
};

}  // namespace tessary::fake
