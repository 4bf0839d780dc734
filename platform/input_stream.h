// Standard input as the programs that read it see it (watch mode, the
// curtain, dictation); tests hand them scripted bytes instead of a pipe.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace tessary {

class InputStream {
 public:
  virtual ~InputStream() = default;
  // Blocks until bytes are available, then copies at most `capacity` of
  // them into `buffer`. Returns the count, 0 at end of input, or -1 on a
  // read error with the error number in `errorNumber` (read(2) semantics;
  // interrupted reads are retried, never reported).
  virtual long read(char* buffer, size_t capacity, int& errorNumber) = 0;
};

// The process's standard input (file descriptor 0).
std::unique_ptr<InputStream> makeStandardInput();

// Scripted input for tests: each chunk is handed out by one read (split when
// the reader's buffer is smaller), then end of input, or a read error with
// `errorNumber` when it is not 0.
class ScriptedInput : public InputStream {
 public:
  explicit ScriptedInput(std::vector<std::string> chunks, int errorNumberAtEnd = 0);
  long read(char* buffer, size_t capacity, int& errorNumber) override;
  // Reads made so far, end of input and errors included.
  size_t readCount() const { return reads_; }

 private:
  std::vector<std::string> chunks_;
  size_t next_ = 0;
  size_t offset_ = 0;
  int errorNumberAtEnd_;
  size_t reads_ = 0;
};

}  // namespace tessary
