// Command lines and environment values: the bytes split at NUL into pieces
// are hit-probe's arguments on a small desktop, and each piece goes through
// the shared parsers, the trimming and Unicode helpers and the JSON writer,
// whose answers are checked against what they promise.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "common/environment.h"
#include "common/exclusion.h"
#include "common/json.h"
#include "common/log_format.h"
#include "common/numbers.h"
#include "common/stable_identifier.h"
#include "common/text.h"
#include "common/unicode.h"
#include "common/utf8.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/window_tool_checks.h"
#include "hit-probe/hit_probe.h"
#include "pane-raise/pane_raise.h"
#include "pane-scout/pane_scout.h"
#include "platform/fake/fake_desktop.h"
#include "platform/program.h"
#include "scene-census/capture/target_window.h"
#include "scene-census/capture/window_titles.h"

namespace {

using namespace tessary;

// A window with a button, partly under the host's overlay.
constexpr std::string_view kScene = R"({
  "mainScreen": [0, 0, 1000, 800],
  "frontmostApplication": 42,
  "applications": [
    {"pid": 42, "name": "Notes", "element": {"id": "notes", "windows": [
      {"id": "win", "role": "AXWindow", "title": "Notes", "frame": [100, 100, 600, 400],
       "children": [
         {"id": "ok", "role": "AXButton", "title": "OK", "frame": [120, 130, 80, 24]},
         {"id": "text", "role": "AXStaticText", "value": "héllo", "frame": [120, 170, 300, 24]}]}]}},
    {"pid": 900, "name": "Tessary", "element": {"windows": [
      {"id": "overlay", "role": "AXWindow", "frame": [0, 0, 1000, 800]}]}}],
  "windowList": [
    {"owner": "Tessary", "pid": 900, "name": "Tessary Overlay", "layer": 3,
     "bounds": [0, 0, 1000, 800], "element": "overlay"},
    {"owner": "Notes", "pid": 42, "name": "Notes", "bounds": [100, 100, 600, 400], "element": "win"}]
})";

// The strict decimal integer the parsers promise, computed the slow way:
// optional sign, at least one digit, nothing else.
std::optional<__int128> referenceInteger(std::string_view text) {
  size_t index = 0;
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    index = 1;
  }
  if (index == text.size()) return std::nullopt;
  __int128 value = 0;
  for (; index < text.size(); ++index) {
    if (text[index] < '0' || text[index] > '9') return std::nullopt;
    // Anything past 2^64 is out of every range checked here.
    if (value < (__int128{1} << 70)) value = value * 10 + (text[index] - '0');
  }
  return negative ? -value : value;
}

template <typename T>
void checkInteger(std::optional<T> parsed, std::string_view text) {
  const std::optional<__int128> expected = referenceInteger(text);
  const bool fits = expected && *expected >= std::numeric_limits<T>::min() &&
                    *expected <= std::numeric_limits<T>::max();
  fuzz::check(parsed.has_value() == fits, "integer accepted iff strict and in range", text);
  if (parsed) fuzz::check(*parsed == *expected, "integer value", text);
}

void checkNumbers(std::string_view piece) {
  checkInteger(parseInt32(piece), piece);
  checkInteger(parseInt64(piece), piece);
  checkInteger(parseUInt32(piece), piece);
  if (std::optional<double> number = parseDouble(piece)) {
    fuzz::check(!piece.empty() && piece.front() != ' ', "double from blank text", piece);
  }
}

void checkEnvironmentReaders(std::string_view piece) {
  const Environment environment{{kExcludedPidVariable, std::string(piece)},
                                {"TESSARY_OVERLAY_TARGET_PID", std::string(piece)},
                                {"TESSARY_OVERLAY_SCOPE_BOUNDS", std::string(piece)}};
  std::set<int32_t> expected;
  if (std::optional<int32_t> pid = parseInt32(piece)) expected.insert(*pid);
  fuzz::check(getExcludedPIDs(environment) == expected, "excluded pid", piece);

  std::set<int32_t> expectedList;
  for (std::string_view part : splitDroppingEmpty(piece, ',')) {
    if (std::optional<int32_t> pid = parseInt32(trimWhitespaceAndNewlines(part)))
      expectedList.insert(*pid);
  }
  fuzz::check(getExcludedPIDList(environment) == expectedList, "excluded pid list", piece);

  fuzz::check(getRequestedTargetPID(environment) == parseInt32(piece), "target pid", piece);
  if (std::optional<Rect> scope = getRequestedScopeBounds(environment)) {
    fuzz::check(std::isfinite(scope->x) && std::isfinite(scope->y) && scope->w > 0 &&
                    scope->h > 0 && std::isfinite(scope->w) && std::isfinite(scope->h),
                "scope bounds finite with a positive size", piece);
  }
}

bool isSubview(std::string_view part, std::string_view whole) {
  return part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size();
}

void checkText(std::string_view piece) {
  const std::string sanitized = sanitizedUtf8(piece);
  fuzz::check(isValidUtf8(sanitized), "sanitized text is UTF-8", piece);
  fuzz::check(isValidUtf8(piece) == (sanitized == piece), "valid iff unchanged by sanitizing",
              piece);

  const std::string_view trimmed = trimWhitespaceAndNewlines(piece);
  fuzz::check(piece.empty() || isSubview(trimmed, piece), "trimmed text is part of the text",
              piece);
  fuzz::check(trimWhitespaceAndNewlines(trimmed) == trimmed, "trimming twice changes nothing",
              piece);
  const std::string_view spaceTrimmed = trimSpacesAndTabs(piece);
  fuzz::check(piece.empty() || isSubview(spaceTrimmed, piece), "space-trimmed text is part", piece);
  fuzz::check(trimSpacesAndTabs(spaceTrimmed) == spaceTrimmed, "space trimming twice", piece);

  fuzz::check(isValidUtf8(lowercased(piece)), "lower-cased text is UTF-8", piece);
  size_t codePoints = 0;
  for (size_t index = 0; index < piece.size(); ++codePoints)
    decodeUtf8(piece, index);
  const size_t clusters = graphemeClusterCount(piece);
  fuzz::check(clusters <= codePoints && (clusters == 0) == piece.empty(),
              "grapheme clusters between one and the code points", piece);

  const ComparableTitle title = comparableTitle(piece);
  fuzz::check(isValidUtf8(title.normalized), "normalized title is UTF-8", piece);
  titlesRoughlyMatch(title, comparableTitle(trimmed));

  const std::string id =
      stableElementIdentifier(std::string(piece), std::nullopt, std::nullopt, std::nullopt,
                              std::nullopt, std::string(piece), std::nullopt, std::string(piece));
  fuzz::check(
      id.size() > 1 && id[0] == 'e' &&
          id.find_first_not_of("0123456789abcdefghijklmnopqrstuvwxyz", 1) == std::string::npos,
      "identifier is e + base 36", id);
}

void checkJson(const std::vector<std::string_view>& pieces) {
  JsonObject object;
  JsonArray list;
  for (std::string_view piece : pieces) {
    object.set(std::string(piece), JsonValue(std::string(piece)));
    list.emplace_back(std::string(piece));
  }
  object.set("\x01list", JsonValue(std::move(list)));
  const JsonValue value(std::move(object));
  for (bool pretty : {true, false}) {
    std::string text;
    const bool written = pretty ? writeJsonPretty(value, text) : writeJsonCompact(value, text);
    fuzz::check(written, "strings always write");
    nlohmann::json parsed = nlohmann::json::parse(text, nullptr, false);
    fuzz::check(!parsed.is_discarded(), "written JSON parses", text);
    const nlohmann::json& parsedList = parsed.at("\x01list");
    fuzz::check(parsedList.size() == pieces.size(), "list length", text);
    for (size_t i = 0; i < pieces.size(); ++i) {
      const std::string expected = sanitizedUtf8(pieces[i]);
      fuzz::check(parsedList[i] == expected, "string written as its sanitized text", text);
      fuzz::check(parsed.at(expected) == expected, "key written as its sanitized text", text);
    }
  }
}

// The first eight bytes as a double: the shortest texts read back to it.
void checkDouble(const uint8_t* data, size_t size) {
  if (size < sizeof(double)) return;
  double value;
  std::memcpy(&value, data, sizeof value);
  if (!std::isfinite(value)) return;
  for (const std::string& text : {formatShortestDouble(value), formatLogDouble(value)}) {
    const double back = std::strtod(text.c_str(), nullptr);
    fuzz::check(back == value, "shortest text reads back", text);
  }
  formatFixed(value, 2);
}

void checkHitProbe(std::vector<std::string> arguments) {
  static const std::string scene(kScene);
  auto loaded = fake::FakeDesktop::fromSceneText(scene);
  fuzz::check(std::holds_alternative<std::unique_ptr<fake::FakeDesktop>>(loaded),
              "the fixed scene loads",
              std::get_if<std::string>(&loaded) ? *std::get_if<std::string>(&loaded) : "");
  auto& desktop = std::get<std::unique_ptr<fake::FakeDesktop>>(loaded);
  std::ostringstream out, err;
  ProgramContext context{
      std::move(arguments), {{kExcludedPidVariable, "900"}}, out, err, desktop->platform()};
  const int status = runHitProbe(context);
  std::string line = out.str();
  fuzz::check(!line.empty() && line.back() == '\n', "hit-probe prints one line", line);
  line.pop_back();
  fuzz::check(line.find('\n') == std::string::npos, "hit-probe prints one line", line);
  if (line == kHitProbeUsageLine || line == kHitProbeInvalidBoxLine) {
    fuzz::check(status == 1, "hit-probe usage status", line);
    return;
  }
  fuzz::check(status == 0, "hit-probe status", line);
  if (line == kHitProbeNoMatchLine) return;
  nlohmann::json report = nlohmann::json::parse(line, nullptr, false);
  fuzz::check(!report.is_discarded() && report.is_object(), "hit-probe report is JSON", line);
}

std::unique_ptr<fake::FakeDesktop> fixedDesktop() {
  auto loaded = fake::FakeDesktop::fromSceneText(kScene);
  fuzz::check(std::holds_alternative<std::unique_ptr<fake::FakeDesktop>>(loaded),
              "the fixed scene loads");
  return std::move(std::get<std::unique_ptr<fake::FakeDesktop>>(loaded));
}

// The command line as pane-scout's arguments, and the exclusion list as the
// first piece: the answer is decided by the parsers' verdicts.
void checkPaneScout(const std::vector<std::string>& arguments) {
  auto desktop = fixedDesktop();
  std::ostringstream out, err;
  ProgramContext context{arguments,
                         {{kExcludedPidVariable, arguments.empty() ? "" : arguments[0]}},
                         out,
                         err,
                         desktop->platform()};
  const int status = runPaneScout(context);
  const std::string command = arguments.empty() ? "" : arguments[0];
  fuzz::checkScoutOutput(command, status, out.str(), err.str());
  const std::string line = out.str();
  auto argument = [&](size_t i) -> const std::string* {
    return i < arguments.size() ? &arguments[i] : nullptr;
  };
  auto usage = [&](const char* expected) {
    fuzz::check(line == std::string(expected) + "\n" && status == 1, "usage line", line);
  };
  if (arguments.empty()) return usage(kPaneScoutUsageLine);
  if (command == "at" || command == "list-at") {
    const bool valid = argument(2) && parseInt64(*argument(1)) && parseInt64(*argument(2));
    if (!valid) return usage(command == "at" ? kPaneScoutAtUsageLine : kPaneScoutListAtUsageLine);
    fuzz::check(status == 0, "a point is answered", line);
  } else if (command == "bounds") {
    if (!argument(1)) return usage(kPaneScoutBoundsUsageLine);
    fuzz::check((line == std::string(kPaneScoutInvalidIdLine) + "\n") ==
                    !parseUInt32(*argument(1)).has_value(),
                "invalid id exactly when not an unsigned 32-bit number", line);
  } else if (command == "frontmost" || command == "watch") {
    if (!argument(1)) {
      return usage(command == "watch" ? kPaneScoutWatchUsageLine : kPaneScoutFrontmostUsageLine);
    }
    fuzz::check((line == std::string(kPaneScoutInvalidPidLine) + "\n") ==
                    !parseInt32(*argument(1)).has_value(),
                "invalid pid exactly when not a 32-bit number", line);
  } else if (command != "active") {
    fuzz::check(
        line == kPaneScoutUnknownCommandPrefix + lineFeedsAsSpaces(command) + "\n" && status == 1,
        "unknown command line", line);
  }
}

void checkPaneRaise(const std::vector<std::string>& arguments) {
  auto desktop = fixedDesktop();
  std::ostringstream out, err;
  ProgramContext context{arguments,
                         {{kExcludedPidVariable, arguments.empty() ? "" : arguments.back()}},
                         out,
                         err,
                         desktop->platform()};
  const int status = runPaneRaise(context);
  fuzz::checkRaiseOutput(status, out.str(), err.str());
  const std::string line = out.str();
  if (arguments.size() < 2) {
    fuzz::check(line == std::string(kPaneRaiseUsageLine) + "\n", "pane-raise usage", line);
  } else if (!parseInt64(arguments[0]) || !parseInt64(arguments[1])) {
    fuzz::check(line == std::string(kPaneRaiseInvalidCoordinatesLine) + "\n",
                "pane-raise invalid coordinates", line);
  } else {
    fuzz::check(status == 0, "pane-raise answers valid coordinates", line);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::vector<std::string_view> pieces;
  for (size_t start = 0;;) {
    const size_t stop = bytes.find('\0', start);
    pieces.push_back(bytes.substr(start, stop == std::string_view::npos ? stop : stop - start));
    if (stop == std::string_view::npos) break;
    start = stop + 1;
  }

  for (std::string_view piece : pieces) {
    checkNumbers(piece);
    checkEnvironmentReaders(piece);
    checkText(piece);
  }
  checkJson(pieces);
  checkDouble(data, size);
  checkHitProbe(std::vector<std::string>(pieces.begin(), pieces.end()));
  checkPaneScout(std::vector<std::string>(pieces.begin(), pieces.end()));
  checkPaneRaise(std::vector<std::string>(pieces.begin(), pieces.end()));
  return 0;
}
