// Runs a built program as the host would: arguments, environment, optional
// standard input; collects both output streams and the exit status.
#pragma once

#include <functional>
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

// For programs that run until their standard input closes: keeps the pipe
// open, writing nothing, until `closeInputWhen` holds for what the program
// has printed so far, then closes it. A program still running
// `limitSeconds` after its start is killed (exit status 128 + 9), so a hang
// fails the test instead of stalling it.
BinaryRun runBinaryClosingInputWhen(
    const std::string& program, const std::vector<std::string>& arguments,
    const std::map<std::string, std::string>& environment,
    const std::function<bool(const std::string& outSoFar)>& closeInputWhen,
    double limitSeconds = 30);

}  // namespace tessary::testing
