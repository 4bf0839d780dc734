#include "input-sentinel/input_sentinel.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace tessary {

namespace {

void writeLine(std::ostream& out, std::string_view line) {
  out << line << '\n' << std::flush;
}

void writePositionLine(std::ostream& out, const char* prefix, int64_t x, int64_t y,
                       bool buttonField) {
  std::string line = prefix;
  line += std::to_string(x);
  line += ' ';
  line += std::to_string(y);
  if (buttonField) line += " 0";
  writeLine(out, line);
}

}  // namespace

std::optional<int64_t> reportedCoordinate(double value) {
  if (std::isnan(value)) return std::nullopt;
  constexpr double lowest = std::numeric_limits<int32_t>::min();
  constexpr double highest = std::numeric_limits<int32_t>::max();
  // std::round rounds halves away from zero; clamping first keeps the
  // conversion defined for infinities and huge values.
  return static_cast<int64_t>(std::round(std::clamp(value, lowest, highest)));
}

void InputSentinel::sample(InputState& input, std::ostream& out) {
  const uint64_t flags = input.flagsState(kHIDSystemStateId);
  const bool ctrl = (flags & kControlFlag) != 0;
  if (ctrl != ctrlHeld_) {
    ctrlHeld_ = ctrl;
    writeLine(out, ctrl ? kCtrlDownLine : kCtrlUpLine);
  }
  const bool shift = (flags & kShiftFlag) != 0;
  if (shift != shiftHeld_) {
    shiftHeld_ = shift;
    writeLine(out, shift ? kShiftDownLine : kShiftUpLine);
  }
  const bool esc = input.keyState(kHIDSystemStateId, kEscapeKeyCode);
  if (esc != escHeld_) {
    escHeld_ = esc;
    if (esc) writeLine(out, kEscapeLine);
  }

  std::optional<Point> location = input.pointerLocation();
  if (!location) return;
  std::optional<int64_t> x = reportedCoordinate(location->x);
  std::optional<int64_t> y = reportedCoordinate(location->y);
  // A location without a position is no better than no event: the button
  // stays unread, so a press or release is reported by the next sample with
  // a real position instead of being lost or given a made-up one.
  if (!x || !y) return;

  const bool left = input.buttonState(kHIDSystemStateId, kLeftMouseButton);
  if (left == leftMouseHeld_) {
    if (!left) return;
    if (lastMouseX_ == x && lastMouseY_ == y) return;
    lastMouseX_ = x;
    lastMouseY_ = y;
    writePositionLine(out, kMouseMovePrefix, *x, *y, false);
    return;
  }
  leftMouseHeld_ = left;
  lastMouseX_ = x;
  lastMouseY_ = y;
  writePositionLine(out, left ? kMouseDownPrefix : kMouseUpPrefix, *x, *y, true);
}

int runInputSentinel(ProgramContext& context) {
  InputState& input = context.platform.inputState;
  const auto& arguments = context.arguments;
  if (std::find(arguments.begin(), arguments.end(), kProbeFlag) != arguments.end()) {
    context.out << kProbeLinePrefix << input.checkAccess(kListenEventRequestType) << '\n'
                << std::flush;
    return 0;
  }
  InputSentinel sentinel;
  writeLine(context.out, kReadyLine);
  input.runRepeatingTimer(kPollIntervalSeconds, kPollToleranceSeconds,
                          [&] { sentinel.sample(input, context.out); });
  // Only the simulated desktop's run loop ends (when its timeline is over);
  // on macOS the host ends the process.
  return 0;
}

}  // namespace tessary
