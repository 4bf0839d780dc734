#include "pane-scout/input_drain.h"

namespace tessary::panescout {

InputDrain::InputDrain(InputStream& input, std::function<void()> onEnd)
    : reader_([&input, onEnd = std::move(onEnd)] {
        char discarded[4096];
        int errorNumber = 0;
        while (input.read(discarded, sizeof discarded, errorNumber) > 0) {
        }
        onEnd();
      }) {}

InputDrain::~InputDrain() {
  if (reader_.joinable()) reader_.join();
}

}  // namespace tessary::panescout
