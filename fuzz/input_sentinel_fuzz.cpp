// input-sentinel against hostile input timelines: bytes that load as a scene
// are played through the sampling loop and the probe. Nothing may crash or
// hang, and the lines must keep their protocol: every line is one of the
// known forms, downs and ups alternate starting with a down, moves come only
// while the button is down and only when the position changed, and the
// numbers fit 32 bits.
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <variant>

#include "common/numbers.h"
#include "fuzz/fuzz_check.h"
#include "input-sentinel/input_sentinel.h"
#include "platform/fake/fake_desktop.h"

namespace {

using namespace tessary;

std::string runWith(std::string_view scene, std::vector<std::string> arguments, int& status) {
  auto loaded = fake::FakeDesktop::fromSceneText(scene);
  auto& desktop = std::get<std::unique_ptr<fake::FakeDesktop>>(loaded);
  // A timeline may run for minutes of virtual time; its calls need no record.
  desktop->setRecording(false);
  std::ostringstream out, err;
  ProgramContext context{std::move(arguments), {}, out, err, desktop->platform()};
  status = runInputSentinel(context);
  fuzz::check(err.str().empty(), "input-sentinel wrote to standard error", err.str());
  return out.str();
}

// "x y" or "x y 0" after a prefix; both numbers must be 32-bit integers.
std::pair<int64_t, int64_t> position(std::string_view rest, bool buttonField,
                                     std::string_view line) {
  if (buttonField) {
    fuzz::check(rest.size() > 2 && rest.substr(rest.size() - 2) == " 0", "button line field", line);
    rest.remove_suffix(2);
  }
  size_t space = rest.find(' ');
  fuzz::check(space != std::string_view::npos, "position has two numbers", line);
  auto x = parseInt64(rest.substr(0, space));
  auto y = parseInt64(rest.substr(space + 1));
  fuzz::check(x && y, "positions are integers", line);
  for (int64_t value : {*x, *y}) {
    fuzz::check(value >= std::numeric_limits<int32_t>::min() &&
                    value <= std::numeric_limits<int32_t>::max(),
                "positions fit 32 bits", line);
  }
  return {*x, *y};
}

void checkLines(const std::string& out) {
  fuzz::check(out.starts_with("READY\n"), "READY comes first", out);
  bool ctrl = false, shift = false, button = false;
  std::pair<int64_t, int64_t> last{0, 0};
  std::istringstream lines(out.substr(6));
  std::string line;
  while (std::getline(lines, line)) {
    std::string_view text(line);
    if (text == kCtrlDownLine || text == kCtrlUpLine) {
      fuzz::check(ctrl == (text == kCtrlUpLine), "Control alternates", out);
      ctrl = !ctrl;
    } else if (text == kShiftDownLine || text == kShiftUpLine) {
      fuzz::check(shift == (text == kShiftUpLine), "Shift alternates", out);
      shift = !shift;
    } else if (text == kEscapeLine) {
    } else if (text.starts_with(kMouseDownPrefix)) {
      fuzz::check(!button, "down only while up", out);
      button = true;
      last = position(text.substr(11), true, line);
    } else if (text.starts_with(kMouseUpPrefix)) {
      fuzz::check(button, "up only while down", out);
      button = false;
      last = position(text.substr(9), true, line);
    } else if (text.starts_with(kMouseMovePrefix)) {
      fuzz::check(button, "moves only while down", out);
      auto now = position(text.substr(11), false, line);
      fuzz::check(now != last, "a move changes the position", line);
      last = now;
    } else {
      fuzz::fail("unknown line", line);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view scene(reinterpret_cast<const char*>(data), size);
  if (std::holds_alternative<std::string>(fake::FakeDesktop::fromSceneText(scene))) return 0;

  int status = -1;
  std::string probe = runWith(scene, {"--probe"}, status);
  fuzz::check(status == 0 && probe.starts_with(kProbeLinePrefix) && probe.back() == '\n' &&
                  probe.find('\n') == probe.size() - 1,
              "the probe prints one line", probe);

  std::string out = runWith(scene, {}, status);
  fuzz::check(status == 0, "input-sentinel status", std::to_string(status));
  checkLines(out);
  return 0;
}
