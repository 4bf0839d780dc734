#include "testsupport/interactive_binary.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

#include "testsupport/spawn_child.h"

namespace tessary::testing {

namespace {
int remainingMilliseconds(std::chrono::steady_clock::time_point deadline) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
      deadline - std::chrono::steady_clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

// Reads what is there within the time; false at end of output or timeout.
bool readSome(int fd, std::string& into, std::chrono::steady_clock::time_point deadline) {
  pollfd poller{fd, POLLIN, 0};
  if (poll(&poller, 1, remainingMilliseconds(deadline)) <= 0) return false;
  char buffer[4096];
  ssize_t count = read(fd, buffer, sizeof buffer);
  if (count <= 0) return false;
  into.append(buffer, static_cast<size_t>(count));
  return true;
}
}  // namespace

InteractiveBinary::InteractiveBinary(const std::string& program,
                                     const std::vector<std::string>& arguments,
                                     const std::map<std::string, std::string>& environment) {
  const SpawnedChild child = spawnChild(program, arguments, environment);
  pid_ = child.pid;
  in_ = child.in;
  out_ = child.out;
  err_ = child.err;
  signal(SIGPIPE, SIG_IGN);
}

InteractiveBinary::~InteractiveBinary() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  for (int fd : {in_, out_, err_}) {
    if (fd >= 0) close(fd);
  }
}

void InteractiveBinary::write(const std::string& bytes) {
  size_t written = 0;
  while (in_ >= 0 && written < bytes.size()) {
    ssize_t count = ::write(in_, bytes.data() + written, bytes.size() - written);
    if (count <= 0) break;
    written += static_cast<size_t>(count);
  }
}

std::optional<std::string> InteractiveBinary::readLine(double timeoutSeconds) {
  auto deadline = std::chrono::steady_clock::now() +
                  std::chrono::milliseconds(static_cast<int>(timeoutSeconds * 1000));
  for (;;) {
    size_t feed = pending_.find('\n');
    if (feed != std::string::npos) {
      std::string line = pending_.substr(0, feed);
      pending_.erase(0, feed + 1);
      return line;
    }
    if (!readSome(out_, pending_, deadline)) return std::nullopt;
  }
}

void InteractiveBinary::closeInput() {
  if (in_ >= 0) close(in_);
  in_ = -1;
}

BinaryRun InteractiveBinary::finish(double timeoutSeconds) {
  closeInput();
  auto deadline = std::chrono::steady_clock::now() +
                  std::chrono::milliseconds(static_cast<int>(timeoutSeconds * 1000));
  BinaryRun run;
  while (readSome(out_, pending_, deadline)) {
  }
  while (readSome(err_, run.err, deadline)) {
  }
  run.out = std::move(pending_);
  pending_.clear();
  int status = 0;
  while (remainingMilliseconds(deadline) > 0) {
    pid_t done = waitpid(pid_, &status, WNOHANG);
    if (done == pid_) {
      pid_ = -1;
      run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      return run;
    }
    pollfd none{-1, 0, 0};
    poll(&none, 0, 10);
  }
  return run;
}

}  // namespace tessary::testing
