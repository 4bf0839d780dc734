#include "testsupport/spawn_child.h"

#include <spawn.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

#include "testsupport/paths.h"

namespace tessary::testing {

SpawnedChild spawnChild(const std::string& program, const std::vector<std::string>& arguments,
                        const std::map<std::string, std::string>& environment) {
  std::string path = binDir() + "/" + program;
  std::vector<std::string> argvStorage{path};
  argvStorage.insert(argvStorage.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (auto& a : argvStorage)
    argv.push_back(a.data());
  argv.push_back(nullptr);
  std::vector<std::string> envStorage;
  for (auto& [k, v] : environment)
    envStorage.push_back(k + "=" + v);
  // Sanitizer settings of the test process carry over to the child.
  for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"}) {
    if (const char* value = getenv(name)) envStorage.push_back(std::string(name) + "=" + value);
  }
  std::vector<char*> envp;
  for (auto& e : envStorage)
    envp.push_back(e.data());
  envp.push_back(nullptr);

  int inPipe[2], outPipe[2], errPipe[2];
  if (pipe(inPipe) || pipe(outPipe) || pipe(errPipe)) throw std::runtime_error("pipe failed");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, inPipe[0], 0);
  posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
  posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
  for (int fd : {inPipe[0], inPipe[1], outPipe[0], outPipe[1], errPipe[0], errPipe[1]}) {
    posix_spawn_file_actions_addclose(&actions, fd);
  }
  pid_t pid = 0;
  int spawnError = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(inPipe[0]);
  close(outPipe[1]);
  close(errPipe[1]);
  if (spawnError != 0) {
    close(inPipe[1]);
    close(outPipe[0]);
    close(errPipe[0]);
    throw std::runtime_error("cannot start " + path);
  }
  return SpawnedChild{pid, inPipe[1], outPipe[0], errPipe[0]};
}

}  // namespace tessary::testing
