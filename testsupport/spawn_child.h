// Starts a built program with its three standard streams on pipes, as the
// host does. Shared by the one-shot and the interactive runners.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace tessary::testing {

struct SpawnedChild {
  int pid = -1;
  int in = -1;   // write end of the child's standard input
  int out = -1;  // read end of its standard output
  int err = -1;  // read end of its standard error
};

// `program` is a file name under the build's bin directory. The child sees
// only `environment` plus the sanitizer settings of the test process. Throws
// std::runtime_error when the program cannot be started.
SpawnedChild spawnChild(const std::string& program, const std::vector<std::string>& arguments,
                        const std::map<std::string, std::string>& environment);

}  // namespace tessary::testing
