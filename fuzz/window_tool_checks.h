// What pane-scout and pane-raise may print, checked line by line: a fuzz
// target that finds anything else aborts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "common/numbers.h"
#include "fuzz/fuzz_check.h"
#include "pane-raise/pane_raise.h"
#include "pane-scout/pane_scout.h"

namespace tessary::fuzz {

inline std::vector<std::string_view> outputLines(std::string_view out) {
  check(out.empty() || out.back() == '\n', "whole lines only", out);
  std::vector<std::string_view> lines;
  for (size_t start = 0; start < out.size();) {
    const size_t end = out.find('\n', start);
    lines.push_back(out.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

// `line` continues with `label` and a decimal number of type T; moves past it.
template <typename T>
void expectNumberField(std::string_view& line, std::string_view label, std::string_view whole) {
  check(line.starts_with(label), "field label", whole);
  line.remove_prefix(label.size());
  const size_t end = line.find(' ');
  const std::string_view digits = line.substr(0, end);
  const bool parsed = sizeof(T) == 4 && std::is_signed_v<T> ? parseInt32(digits).has_value()
                      : sizeof(T) == 4                      ? parseUInt32(digits).has_value()
                                                            : parseInt64(digits).has_value();
  check(parsed && !digits.starts_with("+"), "field number", whole);
  line.remove_prefix(digits.size());
}

inline void checkScoutWindowLine(std::string_view whole) {
  std::string_view line = whole;
  check(line.starts_with("ok"), "result line", whole);
  line.remove_prefix(2);
  expectNumberField<int32_t>(line, " pid=", whole);
  expectNumberField<uint32_t>(line, " cgWindowId=", whole);
  for (std::string_view label : {" x=", " y=", " w=", " h="})
    expectNumberField<int64_t>(line, label, whole);
  check(line.starts_with(" owner="), "owner field", whole);
  check(line.find(" title=") != std::string_view::npos, "title field", whole);
  check(line.find(" appBundle=") != std::string_view::npos, "bundle field", whole);
}

inline void checkScoutHitLine(std::string_view whole) {
  std::string_view line = whole;
  check(line.starts_with("hit"), "hit line", whole);
  line.remove_prefix(3);
  expectNumberField<int32_t>(line, " pid=", whole);
  expectNumberField<uint32_t>(line, " cgWindowId=", whole);
  expectNumberField<int64_t>(line, " layer=", whole);
  check(line.starts_with(" skip="), "skip field", whole);
  check(line.find(" bounds=") != std::string_view::npos &&
            line.find(" owner=") != std::string_view::npos &&
            line.find(" title=") != std::string_view::npos,
        "hit fields", whole);
}

// The whole output of one pane-scout run with its status.
inline void checkScoutOutput(std::string_view command, int status, std::string_view out,
                             std::string_view err) {
  check(err.empty(), "pane-scout writes nothing to standard error", err);
  const std::vector<std::string_view> lines = outputLines(out);
  if (command == "list-at" && status == 0) {
    for (std::string_view line : lines)
      checkScoutHitLine(line);
    return;
  }
  check(lines.size() == 1, "pane-scout prints one line", out);
  const std::string_view line = lines[0];
  if (line.starts_with("error ")) {
    check(status == 1, "error lines end with status 1", line);
    return;
  }
  check(status == 0, "answers end with status 0", line);
  if (line == kPaneScoutNoneLine || line == kPaneScoutGoneLine) return;
  checkScoutWindowLine(line);
}

inline void checkRaiseOutput(int status, std::string_view out, std::string_view err) {
  check(err.empty(), "pane-raise writes nothing to standard error", err);
  const std::vector<std::string_view> lines = outputLines(out);
  check(lines.size() == 1, "pane-raise prints one line", out);
  const std::string_view line = lines[0];
  if (line.starts_with("error: ")) {
    check(status == 1, "pane-raise errors end with status 1", line);
    return;
  }
  check(status == 0, "pane-raise answers end with status 0", line);
  if (line == kPaneRaiseNoWindowLine) return;
  check(line.starts_with("activated owner=") &&
            (line.ends_with(" raised=true") || line.ends_with(" raised=false")) &&
            line.find(" pid=") != std::string_view::npos &&
            line.find(" window=") != std::string_view::npos,
        "activated line", line);
}

}  // namespace tessary::fuzz
