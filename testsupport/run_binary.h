// Runs a built program as the host would: arguments, environment, optional
// standard input; collects both output streams and the exit status.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace tessary::testing {

struct BinaryRun {
  int exitStatus = -1;
  std::string out;
  std::string err;
};

// `program` is a file name under the build's bin directory. The child sees
// only `environment` (plus nothing inherited).
BinaryRun runBinary(const std::string& program, const std::vector<std::string>& arguments,
                    const std::map<std::string, std::string>& environment,
                    const std::string& standardInput = "");

}  // namespace tessary::testing
