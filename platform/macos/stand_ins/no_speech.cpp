// A desktop without speech recognition, as a Mac without the Speech
// framework: authorization is restricted, no locale has a recognizer and no
// audio format can be made; a request takes no audio.
#include "platform/macos/service_kits.h"

namespace tessary::macos {

namespace {

class NoAudioRequest : public SpeechAudioRequest {
 public:
  void setShouldReportPartialResults(bool) override {}
  void setAddsPunctuation(bool) override {}
  void setRequiresOnDeviceRecognition(bool) override {}
  bool appendPCMBuffer(const AudioFormat&, const void*, uint32_t) override { return false; }
  void endAudio() override {}
};

class NoSpeechRecognizer : public SpeechRecognizer {
 public:
  void requestAuthorization(std::function<void(int64_t status)> completion) override {
    if (completion) completion(speechauthorization::restricted);
  }
  std::unique_ptr<LocaleSpeechRecognizer> recognizerForLocale(std::string_view) override {
    return nullptr;
  }
  std::unique_ptr<AudioFormat> makeAudioFormat(int, double, uint32_t, bool) override {
    return nullptr;
  }
  std::shared_ptr<SpeechAudioRequest> makeAudioBufferRequest() override {
    return std::make_shared<NoAudioRequest>();
  }
};

}  // namespace

std::unique_ptr<SpeechRecognizer> makeSpeechRecognizer() {
  return std::make_unique<NoSpeechRecognizer>();
}

}  // namespace tessary::macos
