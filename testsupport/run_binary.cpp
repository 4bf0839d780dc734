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

#include "testsupport/spawn_child.h"

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
  const SpawnedChild child = spawnChild(program, arguments, environment);
  const pid_t pid = child.pid;

  // Feed standard input and drain both outputs together so that no pipe fills.
  signal(SIGPIPE, SIG_IGN);
  int inFd = child.in, outFd = child.out, errFd = child.err;
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
