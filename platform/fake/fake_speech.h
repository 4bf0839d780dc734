// The simulated speech recognizer: authorization, supported locales and
// on-device support from the scene's "speech" section, and a script of
// results and errors each task delivers at given byte counts of its audio or
// given virtual seconds after its audio ended.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/fake/fake_desktop.h"
#include "platform/fake/speech_recording.h"
#include "platform/speech_recognizer.h"

namespace tessary::fake {

struct ScriptedRecognitionEvent {
  // Delivered once the request has received this many bytes (checked after
  // each appended buffer), or this many seconds after endAudio.
  std::optional<uint64_t> afterBytes;
  std::optional<double> afterEndSeconds;
  std::optional<SpeechRecognitionResult> result;
  std::optional<SpeechRecognitionError> error;
};

struct SpeechScene {
  int64_t authorizationStatus = speechauthorization::authorized;
  std::set<std::string, std::less<>> unavailableLocales;
  bool supportsOnDeviceRecognition = false;
  bool audioFormatFails = false;
  std::vector<ScriptedRecognitionEvent> events;
};

class FakeSpeechRecognizer : public SpeechRecognizer {
 public:
  explicit FakeSpeechRecognizer(FakeDesktop::State& state);
  ~FakeSpeechRecognizer() override;

  void requestAuthorization(std::function<void(int64_t status)> completion) override;
  std::unique_ptr<LocaleSpeechRecognizer> recognizerForLocale(std::string_view identifier) override;
  std::unique_ptr<AudioFormat> makeAudioFormat(int commonFormat, double sampleRate,
                                               uint32_t channels, bool interleaved) override;
  std::shared_ptr<SpeechAudioRequest> makeAudioBufferRequest() override;

  SpeechScene& scene() { return scene_; }
  const SpeechRecording& recording() const { return recording_; }
  // Delivers the events due by `elapsed` virtual seconds, each at its own
  // time, moving the clock to it. Called as virtual time passes.
  void runUntil(double elapsed);
  // When the earliest event due by `elapsed` is due, if there is one.
  std::optional<double> nextEventTime(double elapsed) const;
  // recognitionTaskWithRequest:resultHandler: of every locale's recognizer.
  std::shared_ptr<SpeechRecognitionTask> startTaskFor(std::shared_ptr<SpeechAudioRequest> request,
                                                      SpeechResultHandler handler);

  class Request;
  class Task;

 private:
  friend class Request;
  friend class Task;
  void deliverByteEvents(Task& task);
  // The earliest undelivered timed event due by `elapsed`, of any task.
  struct DueEvent {
    Task* task = nullptr;
    size_t index = 0;
    double time = 0;
  };
  DueEvent earliestDue(double elapsed) const;

  FakeDesktop::State& state_;
  SpeechScene scene_;
  SpeechRecording recording_;
  // Kept here, not only by the program, so that a program dropping its task
  // from inside the task's own handler cannot destroy it mid-call.
  std::vector<std::shared_ptr<Task>> tasks_;
};

}  // namespace tessary::fake
