#include "frost-curtain/command_protocol.h"

#include <cmath>

#include "common/numbers.h"
#include "common/unicode.h"
#include "frost-curtain/preview_parameters.h"

namespace tessary::curtain {

void LineSplitter::feed(std::string_view bytes, const std::function<void(std::string&&)>& line) {
  while (!bytes.empty()) {
    const size_t feed = bytes.find('\n');
    if (feed == std::string_view::npos) {
      if (!discarding_) buffer_.append(bytes);
      if (buffer_.size() > kMaxPendingLineBytes) {
        buffer_.clear();
        buffer_.shrink_to_fit();
        discarding_ = true;
      }
      return;
    }
    if (discarding_) {
      discarding_ = false;
    } else if (buffer_.empty()) {
      if (feed <= kMaxPendingLineBytes) finishLine(bytes.substr(0, feed), line);
    } else {
      buffer_.append(bytes.substr(0, feed));
      std::string raw = std::move(buffer_);
      buffer_.clear();
      if (raw.size() <= kMaxPendingLineBytes) finishLine(raw, line);
    }
    bytes.remove_prefix(feed + 1);
  }
}

void LineSplitter::finishLine(std::string_view raw,
                              const std::function<void(std::string&&)>& line) {
  if (!isValidUtf8(raw)) return;
  std::string_view trimmed = trimWhitespaceAndNewlines(raw);
  if (!trimmed.empty()) line(std::string(trimmed));
}

Command parseCommand(std::string_view line) {
  const size_t space = line.find(' ');
  const std::string_view word = line.substr(0, space);
  Command command;
  if (word == "show") {
    command.word = CommandWord::show;
  } else if (word == "hide") {
    command.word = CommandWord::hide;
  } else if (word == "randomize") {
    command.word = CommandWord::randomize;
  } else if (word == "copy") {
    command.word = CommandWord::copy;
  } else if (word == "exit") {
    command.word = CommandWord::exit;
  }
  if (space != std::string_view::npos) command.id = parseInt64(line.substr(space + 1));
  return command;
}

std::optional<double> parseHeightRatio(const std::vector<std::string>& arguments) {
  for (const std::string& argument : arguments) {
    std::optional<double> value = parseDouble(argument);
    if (!value) continue;
    if (std::isnan(*value)) return kDefaultHeightRatio;
    return clampValue(*value, 0.05, 1.8);
  }
  return std::nullopt;
}

bool wantsTuning(const std::vector<std::string>& arguments) {
  for (const std::string& argument : arguments) {
    if (argument == "--tuning") return true;
  }
  return false;
}

}  // namespace tessary::curtain
