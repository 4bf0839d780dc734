// In-process sessions of frost-curtain on the simulated desktop: timed
// standard input, the delegate on its own, and readers of what the
// compositor did.
#pragma once

#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "frost-curtain/curtain_app.h"
#include "platform/fake/fake_compositor.h"
#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_pasteboard.h"
#include "platform/fake/fake_run_loop.h"
#include "platform/fake/fake_tuning_panel.h"

namespace tessary::curtain {

inline constexpr const char* kTwoScreens = R"({
  "mainScreen": [0, 0, 1000, 800],
  "screens": [[0, 0, 1000, 800], [1000, 0, 1200, 900]],
  "pointer": [500, 400]})";

// Standard input whose chunks arrive with a virtual pause after each: the
// pause is handed to the simulated application before the chunk, so the
// next read waits that long. A pause of nothing waits until every fade and
// completion has run, as a host that waits for its reply.
class TimedInput : public InputStream {
 public:
  struct Chunk {
    std::string bytes;
    std::optional<double> pauseAfter;
  };
  TimedInput(fake::FakeApplication& application, std::vector<Chunk> chunks)
      : application_(application), chunks_(std::move(chunks)) {}
  long read(char* buffer, size_t capacity, int&) override {
    if (next_ >= chunks_.size()) return 0;
    Chunk& chunk = chunks_[next_];
    const size_t count = std::min(capacity, chunk.bytes.size());
    std::copy_n(chunk.bytes.data(), count, buffer);
    chunk.bytes.erase(0, count);
    application_.inputInterval = chunk.bytes.empty() ? chunk.pauseAfter : std::optional<double>(0);
    if (chunk.bytes.empty()) ++next_;
    return static_cast<long>(count);
  }

 private:
  fake::FakeApplication& application_;
  std::vector<Chunk> chunks_;
  size_t next_ = 0;
};

struct SessionRun {
  std::string out, err;
};

// The whole program on a scene, fed the chunks.
inline SessionRun runSession(fake::FakeDesktop& desktop, std::vector<TimedInput::Chunk> chunks,
                             std::vector<std::string> arguments = {}) {
  TimedInput input(desktop.application(), std::move(chunks));
  std::ostringstream out, err;
  ProgramContext context{std::move(arguments), {}, out, err, desktop.platform(), &input};
  runFrostCurtain(context);
  return {out.str(), err.str()};
}

// "operation element detail" of the recorded calls of these operations.
inline std::vector<std::string> callsOf(const fake::FakeDesktop& desktop,
                                        std::initializer_list<std::string_view> operations) {
  std::vector<std::string> calls;
  for (const fake::PlatformCall& call : desktop.calls()) {
    for (std::string_view operation : operations) {
      if (call.operation == operation) {
        calls.push_back(call.operation + " " + call.element + " " + call.detail);
      }
    }
  }
  return calls;
}

}  // namespace tessary::curtain
