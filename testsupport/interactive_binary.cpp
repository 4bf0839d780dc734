#include "testsupport/interactive_binary.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

#include "testsupport/paths.h"

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
  in_ = inPipe[1];
  out_ = outPipe[0];
  err_ = errPipe[0];
  if (spawnError != 0) throw std::runtime_error("cannot start " + path);
  pid_ = pid;
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
