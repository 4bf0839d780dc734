// Runs a built program the way a host that talks to it does: writes to its
// standard input piece by piece and reads its replies line by line.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "testsupport/run_binary.h"

namespace tessary::testing {

class InteractiveBinary {
 public:
  // `program` is a file name under the build's bin directory; the child sees
  // only `environment`.
  InteractiveBinary(const std::string& program, const std::vector<std::string>& arguments,
                    const std::map<std::string, std::string>& environment);
  // Kills the child if it is still running.
  ~InteractiveBinary();
  InteractiveBinary(const InteractiveBinary&) = delete;
  InteractiveBinary& operator=(const InteractiveBinary&) = delete;

  void write(const std::string& bytes);
  // The next line of standard output without its line feed; nothing at end
  // of output, or when none arrives within `timeoutSeconds` (a safety net
  // against a hung child, not a measurement).
  std::optional<std::string> readLine(double timeoutSeconds = 20);
  void closeInput();
  // Closes standard input and waits for the exit; `out` holds what was not
  // read as lines yet.
  BinaryRun finish(double timeoutSeconds = 20);

 private:
  int pid_ = -1;
  int in_ = -1, out_ = -1, err_ = -1;
  std::string pending_;
};

}  // namespace tessary::testing
