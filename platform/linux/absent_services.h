// Services a Linux desktop does not offer to the suite (yet): the host's
// AppKit windows and speech recognition. Each answers as the macOS call does when the thing it
// asks about is not there, so a program reports its own clear outcome.
#pragma once

#include "platform/host_windows.h"
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

}  // namespace tessary::linuxdesktop
