#include "testsupport/run_binary.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <stdexcept>

#include "testsupport/paths.h"

namespace tessary::testing {

namespace {
void closeIfOpen(int& fd) {
  if (fd >= 0) close(fd);
  fd = -1;
}

BinaryRun runChild(const std::string& program, const std::vector<std::string>& arguments,
                   const std::map<std::string, std::string>& environment,
                   const std::string& standardInput,
                   const std::function<bool(const std::string&)>* closeInputWhen,
                   double limitSeconds) {
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

  // Feed standard input and drain both outputs together so that no pipe fills.
  signal(SIGPIPE, SIG_IGN);
  int inFd = inPipe[1], outFd = outPipe[0], errFd = errPipe[0];
  size_t written = 0;
  if (standardInput.empty() && !closeInputWhen) closeIfOpen(inFd);
  BinaryRun run;
  char buffer[65536];
  const auto deadline = std::chrono::steady_clock::now() +
                        std::chrono::milliseconds(static_cast<int64_t>(limitSeconds * 1000));
  bool killed = false;
  while (outFd >= 0 || errFd >= 0) {
    pollfd fds[3];
    int count = 0;
    if (outFd >= 0) fds[count++] = {outFd, POLLIN, 0};
    if (errFd >= 0) fds[count++] = {errFd, POLLIN, 0};
    if (inFd >= 0 && !closeInputWhen) fds[count++] = {inFd, POLLOUT, 0};
    int timeout = -1;
    if (limitSeconds > 0) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0 && !killed) {
        kill(pid, SIGKILL);
        killed = true;
      }
      timeout = killed ? -1 : static_cast<int>(left.count());
    }
    if (poll(fds, count, timeout) < 0 && errno != EINTR) break;
    for (int i = 0; i < count; ++i) {
      if (!fds[i].revents) continue;
      if (fds[i].fd == inFd) {
        ssize_t n = write(inFd, standardInput.data() + written, standardInput.size() - written);
        if (n > 0) written += static_cast<size_t>(n);
        if (n < 0 || written == standardInput.size()) closeIfOpen(inFd);
        continue;
      }
      ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      std::string& sink = fds[i].fd == outFd ? run.out : run.err;
      if (n > 0) {
        sink.append(buffer, static_cast<size_t>(n));
        if (closeInputWhen && inFd >= 0 && (*closeInputWhen)(run.out)) closeIfOpen(inFd);
      } else {
        closeIfOpen(fds[i].fd == outFd ? outFd : errFd);
      }
    }
  }
  closeIfOpen(inFd);
  int status = 0;
  waitpid(pid, &status, 0);
  run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return run;
}

}  // namespace

BinaryRun runBinary(const std::string& program, const std::vector<std::string>& arguments,
                    const std::map<std::string, std::string>& environment,
                    const std::string& standardInput) {
  return runChild(program, arguments, environment, standardInput, nullptr, 0);
}

BinaryRun runBinaryClosingInputWhen(
    const std::string& program, const std::vector<std::string>& arguments,
    const std::map<std::string, std::string>& environment,
    const std::function<bool(const std::string& outSoFar)>& closeInputWhen, double limitSeconds) {
  return runChild(program, arguments, environment, "", &closeInputWhen, limitSeconds);
}

}  // namespace tessary::testing
