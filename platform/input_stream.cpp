#include "platform/input_stream.h"

#include <cerrno>
#include <cstring>

#include <unistd.h>

namespace tessary {

namespace {
class FileDescriptorInput : public InputStream {
 public:
  explicit FileDescriptorInput(int fd) : fd_(fd) {}
  long read(char* buffer, size_t capacity, int& errorNumber) override {
    for (;;) {
      ssize_t count = ::read(fd_, buffer, capacity);
      if (count >= 0) return static_cast<long>(count);
      if (errno == EINTR) continue;
      errorNumber = errno;
      return -1;
    }
  }

 private:
  int fd_;
};
}  // namespace

std::unique_ptr<InputStream> makeStandardInput() {
  return std::make_unique<FileDescriptorInput>(STDIN_FILENO);
}

ScriptedInput::ScriptedInput(std::vector<std::string> chunks, int errorNumberAtEnd)
    : chunks_(std::move(chunks)), errorNumberAtEnd_(errorNumberAtEnd) {}

long ScriptedInput::read(char* buffer, size_t capacity, int& errorNumber) {
  ++reads_;
  while (next_ < chunks_.size() && offset_ == chunks_[next_].size()) {
    ++next_;
    offset_ = 0;
  }
  if (next_ == chunks_.size()) {
    if (errorNumberAtEnd_ == 0) return 0;
    errorNumber = errorNumberAtEnd_;
    return -1;
  }
  const std::string& chunk = chunks_[next_];
  size_t count = std::min(capacity, chunk.size() - offset_);
  std::memcpy(buffer, chunk.data() + offset_, count);
  offset_ += count;
  return static_cast<long>(count);
}

}  // namespace tessary
