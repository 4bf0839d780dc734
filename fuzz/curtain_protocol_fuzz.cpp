// frost-curtain's standard input: the bytes, cut into reads, go through the
// line splitter and the command grammar, whose answers are checked against
// what they promise, and then through a whole session on a small simulated
// desktop, whose reply and error lines must all be of the protocol's forms.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "common/numbers.h"
#include "common/unicode.h"
#include "frost-curtain/command_protocol.h"
#include "frost-curtain/curtain_app.h"
#include "fuzz/fuzz_check.h"
#include "platform/fake/fake_desktop.h"
#include "platform/input_stream.h"

namespace {

using namespace tessary;
using tessary::fuzz::check;

constexpr std::string_view kScene = R"({"mainScreen": [0, 0, 48, 32], "screens": [[0, 0, 48, 32]],
  "pointer": [10, 10], "application": {"inputInterval": 0.02}})";

// The first byte sets the size of the reads (1 to 256 bytes).
std::vector<std::string> readsOf(const uint8_t* data, size_t size) {
  std::vector<std::string> reads;
  if (size == 0) return reads;
  const size_t piece = static_cast<size_t>(data[0]) + 1;
  for (size_t at = 1; at < size; at += piece)
    reads.emplace_back(reinterpret_cast<const char*>(data + at), std::min(piece, size - at));
  return reads;
}

void checkLine(const std::string& line) {
  check(!line.empty(), "empty line handed out");
  check(line.size() <= curtain::kMaxPendingLineBytes, "over-long line handed out");
  check(line.find('\n') == std::string::npos, "line feed inside a line", line);
  check(isValidUtf8(line), "invalid UTF-8 handed out", line);
  check(trimWhitespaceAndNewlines(line) == line, "line not trimmed", line);

  const curtain::Command command = curtain::parseCommand(line);
  const size_t space = line.find(' ');
  const std::string_view word = std::string_view(line).substr(0, space);
  const bool known =
      word == "show" || word == "hide" || word == "randomize" || word == "copy" || word == "exit";
  check(known == (command.word != curtain::CommandWord::unknown), "command word", line);
  const std::optional<int64_t> id = space == std::string::npos
                                        ? std::nullopt
                                        : parseInt64(std::string_view(line).substr(space + 1));
  check(id == command.id, "command id", line);
}

bool isReply(std::string_view line) {
  if (line == "ready" || line == "copied") return true;
  for (std::string_view prefix : {"shown ", "hidden "}) {
    if (line.substr(0, prefix.size()) == prefix) {
      std::string_view number = line.substr(prefix.size());
      return parseInt64(number) && number[0] != '+' &&
             std::to_string(*parseInt64(number)) == number;
    }
  }
  return false;
}

bool isError(std::string_view line) {
  return line == "error: show command requires id" || line == "error: hide command requires id" ||
         line.substr(0, 23) == "error: unknown command ";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> reads = readsOf(data, size);

  curtain::LineSplitter splitter;
  for (const std::string& bytes : reads) {
    splitter.feed(bytes, [](std::string&& line) { checkLine(line); });
    check(splitter.bufferedBytes() <= curtain::kMaxPendingLineBytes + bytes.size(),
          "buffer grew past its limit");
  }

  auto desktop = fake::loadSceneOrThrow(kScene);
  desktop->setRecording(false);
  ScriptedInput input(reads);
  std::ostringstream out, err;
  ProgramContext context{{}, {}, out, err, desktop->platform(), &input};
  curtain::runFrostCurtain(context);
  std::istringstream replies(out.str());
  std::string line;
  bool first = true;
  while (std::getline(replies, line)) {
    check(first ? line == "ready" : isReply(line), "reply line", line);
    first = false;
  }
  check(out.str().empty() || out.str().back() == '\n', "reply without its line feed", out.str());
  // An unknown command's line holds any text but a line feed, so the error
  // stream is checked as a whole: it must split into error lines.
  const std::string errors = err.str();
  size_t at = 0;
  while (at < errors.size()) {
    size_t end = errors.find('\n', at);
    check(end != std::string::npos, "error without its line feed", errors);
    check(isError(std::string_view(errors).substr(at, end - at)), "error line",
          errors.substr(at, end - at));
    at = end + 1;
  }
  return 0;
}
