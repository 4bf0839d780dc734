#include <iostream>

#include "platform/backend.h"
#include "platform/program.h"

extern char** environ;

namespace tessary {

namespace {
Environment processEnvironment() {
  Environment environment;
  for (char** entry = environ; entry && *entry; ++entry) {
    std::string_view text(*entry);
    size_t equals = text.find('=');
    if (equals == std::string_view::npos) continue;
    environment.emplace(std::string(text.substr(0, equals)), std::string(text.substr(equals + 1)));
  }
  return environment;
}
}  // namespace

int runProgramMain(int argc, char** argv, ProgramFunction program) {
  std::ios::sync_with_stdio(true);
  Environment environment = processEnvironment();
  std::unique_ptr<PlatformBackend> backend = openPlatformBackend(environment, std::cerr);
  if (!backend) return 1;
  std::unique_ptr<InputStream> standardInput = makeStandardInput();
  ProgramContext context{std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc),
                         std::move(environment),
                         std::cout,
                         std::cerr,
                         backend->platform(),
                         standardInput.get()};
  int status = program(context);
  std::cout.flush();
  std::cerr.flush();
  return status;
}

}  // namespace tessary
