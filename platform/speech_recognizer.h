// Live speech recognition: the recognizer of a locale, its authorization, an
// audio-buffer request fed with PCM buffers, and the task that reports
// results. Shaped after SFSpeechRecognizer, SFSpeechAudioBufferRecognitionRequest,
// AVAudioFormat and AVAudioPCMBuffer.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tessary {

// SFSpeechRecognizerAuthorizationStatus. The platform may answer other values.
namespace speechauthorization {
inline constexpr int64_t notDetermined = 0;
inline constexpr int64_t denied = 1;
inline constexpr int64_t restricted = 2;
inline constexpr int64_t authorized = 3;
}  // namespace speechauthorization

// AVAudioCommonFormat value of signed 16-bit integer samples.
inline constexpr int kAudioCommonFormatInt16 = 3;

struct SpeechRecognitionResult {
  std::string formattedString;  // the best transcription, punctuation included
  bool isFinal = false;
};

struct SpeechRecognitionError {
  std::string domain;
  int64_t code = 0;
  std::string localizedDescription;
};

// One update of a task: a result, an error or both. Called on a queue of the
// recognizer's own (not the thread that started the task), one call at a time.
using SpeechResultHandler = std::function<void(const std::optional<SpeechRecognitionResult>&,
                                               const std::optional<SpeechRecognitionError>&)>;

// AVAudioFormat.
class AudioFormat {
 public:
  virtual ~AudioFormat() = default;
};

// SFSpeechAudioBufferRecognitionRequest.
class SpeechAudioRequest {
 public:
  virtual ~SpeechAudioRequest() = default;
  virtual void setShouldReportPartialResults(bool on) = 0;
  // Ignored where the system has no automatic punctuation (before macOS 13).
  virtual void setAddsPunctuation(bool on) = 0;
  virtual void setRequiresOnDeviceRecognition(bool on) = 0;
  // Makes an AVAudioPCMBuffer in `format` with capacity and length
  // `frameCount`, copies frameCount 16-bit samples (native byte order, one
  // channel, no alignment needed) from `samples` into channel 0 and appends
  // it. False when the buffer cannot be made; nothing is appended then.
  virtual bool appendPCMBuffer(const AudioFormat& format, const void* samples,
                               uint32_t frameCount) = 0;
  virtual void endAudio() = 0;
};

// SFSpeechRecognitionTask. It runs while it is kept.
class SpeechRecognitionTask {
 public:
  virtual ~SpeechRecognitionTask() = default;
};

// SFSpeechRecognizer of one locale.
class LocaleSpeechRecognizer {
 public:
  virtual ~LocaleSpeechRecognizer() = default;
  virtual bool supportsOnDeviceRecognition() = 0;
  // recognitionTaskWithRequest:resultHandler:. `request` comes from this
  // recognizer's service.
  virtual std::shared_ptr<SpeechRecognitionTask> startTask(
      std::shared_ptr<SpeechAudioRequest> request, SpeechResultHandler handler) = 0;
};

class SpeechRecognizer {
 public:
  virtual ~SpeechRecognizer() = default;
  // +requestAuthorization:. The completion gets the status once, on a queue
  // of the platform's choosing (possibly before this call returns).
  virtual void requestAuthorization(std::function<void(int64_t status)> completion) = 0;
  // -initWithLocale: with the locale of `identifier`; nothing when the
  // locale is not supported.
  virtual std::unique_ptr<LocaleSpeechRecognizer> recognizerForLocale(
      std::string_view identifier) = 0;
  // -[AVAudioFormat initWithCommonFormat:sampleRate:channels:interleaved:].
  virtual std::unique_ptr<AudioFormat> makeAudioFormat(int commonFormat, double sampleRate,
                                                       uint32_t channels, bool interleaved) = 0;
  virtual std::shared_ptr<SpeechAudioRequest> makeAudioBufferRequest() = 0;
};

}  // namespace tessary
