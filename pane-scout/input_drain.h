// Watch mode's reader of standard input: it reads and discards everything on
// a thread of its own and reports end of input (or a read error) once. The
// host ends a watch by closing the pipe.
#pragma once

#include <functional>
#include <thread>

#include "platform/input_stream.h"

namespace tessary::panescout {

class InputDrain {
 public:
  // Starts reading at once. `onEnd` runs on the reader's thread; it may end
  // the process.
  InputDrain(InputStream& input, std::function<void()> onEnd);
  // Waits for the reader, which must have reached the end.
  ~InputDrain();
  InputDrain(const InputDrain&) = delete;
  InputDrain& operator=(const InputDrain&) = delete;

 private:
  std::thread reader_;
};

}  // namespace tessary::panescout
