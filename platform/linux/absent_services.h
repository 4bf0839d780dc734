// Services a Linux desktop does not offer to the suite (yet): the host's
// AppKit windows, speech recognition, and the input state until it is read
// from the X server. Each answers as the macOS call does when the thing it
// asks about is not there, so a program reports its own clear outcome.
#pragma once

#include "platform/host_windows.h"
#include "platform/input_state.h"
#include "platform/speech_recognizer.h"

namespace tessary::linuxdesktop {

// No view of the host lives in this process: every view is without window.
class AbsentHostWindows final : public HostWindows {
 public:
  bool isMainThread() override { return true; }
  void runOnMainQueueAndWait(const std::function<void()>& work) override { work(); }
  std::optional<HostWindow> windowOfView(uintptr_t) override { return std::nullopt; }
  int64_t level(HostWindow) override { return 0; }
  void setLevel(HostWindow, int64_t) override {}
  int64_t windowNumber(HostWindow) override { return 0; }
  void orderAbove(HostWindow, int64_t) override {}
};

// No recognizer: authorization answers "restricted" (as where the Speech
// framework is missing) and no locale has one.
class AbsentSpeechRecognizer final : public SpeechRecognizer {
 public:
  static constexpr int64_t kRestricted = 2;  // SFSpeechRecognizerAuthorizationStatusRestricted
  void requestAuthorization(std::function<void(int64_t status)> completion) override {
    completion(kRestricted);
  }
  std::unique_ptr<LocaleSpeechRecognizer> recognizerForLocale(std::string_view) override {
    return nullptr;
  }
  std::unique_ptr<AudioFormat> makeAudioFormat(int, double, uint32_t, bool) override {
    return nullptr;
  }
  std::shared_ptr<SpeechAudioRequest> makeAudioBufferRequest() override { return nullptr; }
};

// Input monitoring is refused until the X server's state is read here, so
// input-sentinel's probe says so and nothing is made up.
class AbsentInputState final : public InputState {
 public:
  static constexpr uint32_t kDenied = 1;
  uint64_t flagsState(int32_t) override { return 0; }
  bool keyState(int32_t, uint16_t) override { return false; }
  bool buttonState(int32_t, uint32_t) override { return false; }
  std::optional<Point> pointerLocation() override { return std::nullopt; }
  uint32_t checkAccess(uint32_t) override { return kDenied; }
  void runRepeatingTimer(double, double, const std::function<void()>&) override {}
};

}  // namespace tessary::linuxdesktop
