#include "platform/input_stream.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace tessary {
namespace {

std::string readAll(InputStream& input, size_t capacity, int& status, int& errorNumber) {
  std::string text;
  char buffer[64];
  for (;;) {
    long count = input.read(buffer, std::min(capacity, sizeof buffer), errorNumber);
    if (count <= 0) {
      status = static_cast<int>(count);
      return text;
    }
    text.append(buffer, static_cast<size_t>(count));
  }
}

TEST(ScriptedInput, HandsOutChunksThenEndOfInput) {
  ScriptedInput input({"ab", "", "cdef"});
  char buffer[8];
  int errorNumber = 0;
  ASSERT_EQ(input.read(buffer, sizeof buffer, errorNumber), 2);
  EXPECT_EQ(std::string(buffer, 2), "ab");
  ASSERT_EQ(input.read(buffer, 3, errorNumber), 3);  // a chunk larger than the buffer splits
  EXPECT_EQ(std::string(buffer, 3), "cde");
  ASSERT_EQ(input.read(buffer, sizeof buffer, errorNumber), 1);
  EXPECT_EQ(input.read(buffer, sizeof buffer, errorNumber), 0);
  EXPECT_EQ(input.read(buffer, sizeof buffer, errorNumber), 0);
  EXPECT_EQ(input.readCount(), 5u);
}

TEST(ScriptedInput, EndsWithTheScriptedReadError) {
  ScriptedInput input({"x"}, EIO);
  int status = 1, errorNumber = 0;
  EXPECT_EQ(readAll(input, 64, status, errorNumber), "x");
  EXPECT_EQ(status, -1);
  EXPECT_EQ(errorNumber, EIO);
}

TEST(StandardInput, ReadsThePipeBehindDescriptorZero) {
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  int saved = dup(STDIN_FILENO);
  ASSERT_GE(saved, 0);
  ASSERT_EQ(dup2(fds[0], STDIN_FILENO), STDIN_FILENO);
  close(fds[0]);
  ASSERT_EQ(write(fds[1], "line one\nline", 13), 13);
  close(fds[1]);
  std::unique_ptr<InputStream> input = makeStandardInput();
  int status = 1, errorNumber = 0;
  std::string text = readAll(*input, 5, status, errorNumber);
  dup2(saved, STDIN_FILENO);
  close(saved);
  EXPECT_EQ(text, "line one\nline");
  EXPECT_EQ(status, 0);
}

}  // namespace
}  // namespace tessary
