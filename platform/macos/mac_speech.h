// Speech recognition over the Speech framework and AVFAudio's PCM buffers.
#pragma once

#include "platform/speech_recognizer.h"

namespace tessary::macos {

class MacSpeechRecognizer : public SpeechRecognizer {
 public:
  void requestAuthorization(std::function<void(int64_t status)> completion) override;
  std::unique_ptr<LocaleSpeechRecognizer> recognizerForLocale(std::string_view identifier) override;
  std::unique_ptr<AudioFormat> makeAudioFormat(int commonFormat, double sampleRate,
                                               uint32_t channels, bool interleaved) override;
  std::shared_ptr<SpeechAudioRequest> makeAudioBufferRequest() override;
};

}  // namespace tessary::macos
