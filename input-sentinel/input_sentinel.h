// input-sentinel: reports, one line per change, when the user holds Control
// or Shift, presses Escape, or presses, drags and releases the left mouse
// button, by sampling the system-wide input state every 20 ms (no event tap).
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>

#include "platform/input_state.h"
#include "platform/program.h"

namespace tessary {

inline constexpr const char* kProbeFlag = "--probe";
inline constexpr const char* kReadyLine = "READY";
inline constexpr const char* kProbeLinePrefix = "PROBE listenEventAccess=";
inline constexpr const char* kCtrlDownLine = "CTRL_DOWN";
inline constexpr const char* kCtrlUpLine = "CTRL_UP";
inline constexpr const char* kShiftDownLine = "SHIFT_DOWN";
inline constexpr const char* kShiftUpLine = "SHIFT_UP";
inline constexpr const char* kEscapeLine = "ESC";
inline constexpr const char* kMouseDownPrefix = "MOUSE_DOWN ";
inline constexpr const char* kMouseUpPrefix = "MOUSE_UP ";
inline constexpr const char* kMouseMovePrefix = "MOUSE_MOVE ";

inline constexpr double kPollIntervalSeconds = 0.02;
// Half the interval lets the system coalesce wake-ups.
inline constexpr double kPollToleranceSeconds = kPollIntervalSeconds / 2;
inline constexpr uint16_t kEscapeKeyCode = 53;
inline constexpr uint64_t kControlFlag = 0x40000;  // kCGEventFlagMaskControl
inline constexpr uint64_t kShiftFlag = 0x20000;    // kCGEventFlagMaskShift

// A pointer coordinate as reported: rounded to the nearest integer, halves
// away from zero, and held to the 32-bit range (no display reaches that far;
// the host reads the numbers into doubles and must get them exactly).
// Nothing for NaN, which has no position to report.
std::optional<int64_t> reportedCoordinate(double value);

// The last reported state; every line is written whole and flushed at once.
class InputSentinel {
 public:
  // One sample, in this fixed order: Control, Shift, Escape, pointer, left
  // button.
  void sample(InputState& input, std::ostream& out);

 private:
  bool ctrlHeld_ = false;
  bool shiftHeld_ = false;
  bool escHeld_ = false;
  bool leftMouseHeld_ = false;
  std::optional<int64_t> lastMouseX_;
  std::optional<int64_t> lastMouseY_;
};

int runInputSentinel(ProgramContext& context);

}  // namespace tessary
