// What every program is a function of. `main` builds one from the real process
// and the platform backend; tests build one around the simulated desktop.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "common/environment.h"
#include "platform/input_stream.h"
#include "platform/platform.h"

namespace tessary {

struct ProgramContext {
  std::vector<std::string> arguments;  // without the program name
  Environment environment;
  std::ostream& out;
  std::ostream& err;
  Platform& platform;
  // Standard input. `main` always passes the process's own; tests of programs
  // that never read it may leave it null.
  InputStream* in = nullptr;
};

using ProgramFunction = int (*)(ProgramContext&);

// Opens the platform backend for this build and runs `program`; returns the
// exit status. On Linux the backend is the simulated desktop named by
// TESSARY_SIM_DESKTOP; without it the program does not run and the status is 1.
int runProgramMain(int argc, char** argv, ProgramFunction program);

}  // namespace tessary
