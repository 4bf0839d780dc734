// The curtain's standard-input protocol as plain functions: bytes in, lines
// out, and one line into a command.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessary::curtain {

// A line longer than this is dropped. Its bytes are not kept beyond this
// many: the rest, up to the next line feed, is skipped as it arrives, so a
// host that never ends its line cannot grow the buffer without bound.
inline constexpr size_t kMaxPendingLineBytes = 64 * 1024;

// Splits standard-input bytes into command lines across reads: lines end at
// a line feed; each is dropped unless it is valid UTF-8, then trimmed of
// Unicode white space and line breaks, and dropped when empty. A final
// partial line stays buffered and is never handed out.
class LineSplitter {
 public:
  // Calls `line` for every complete line in `bytes`, in order.
  void feed(std::string_view bytes, const std::function<void(std::string&&)>& line);
  size_t bufferedBytes() const { return buffer_.size(); }

 private:
  void finishLine(std::string_view raw, const std::function<void(std::string&&)>& line);

  std::string buffer_;
  bool discarding_ = false;  // inside an over-long line, until its line feed
};

enum class CommandWord { show, hide, randomize, copy, exit, unknown };

struct Command {
  CommandWord word = CommandWord::unknown;
  // A whole signed 64-bit decimal with an optional sign, nothing else.
  std::optional<int64_t> id;
};

// The word is the text before the first U+0020; the argument everything
// after it, verbatim.
Command parseCommand(std::string_view trimmedLine);

// The first argument that is completely a floating-point number, clamped to
// [0.05, 1.8]; NaN gives the default ratio. Nothing when no argument is one.
std::optional<double> parseHeightRatio(const std::vector<std::string>& arguments);
bool wantsTuning(const std::vector<std::string>& arguments);

}  // namespace tessary::curtain
