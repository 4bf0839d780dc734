#include "platform/fake/fake_speech.h"

#include <algorithm>
#include <cstring>

#include "platform/fake/fake_state.h"
#include "platform/fake/scene_json.h"
#include "platform/fake/value_text.h"

namespace tessary::fake {

namespace {
class FakeAudioFormat : public AudioFormat {};

class FakeLocaleRecognizer : public LocaleSpeechRecognizer {
 public:
  FakeLocaleRecognizer(FakeSpeechRecognizer& service, State& state, std::string identifier)
      : service_(service), state_(state), identifier_(std::move(identifier)) {}
  bool supportsOnDeviceRecognition() override;
  std::shared_ptr<SpeechRecognitionTask> startTask(std::shared_ptr<SpeechAudioRequest> request,
                                                   SpeechResultHandler handler) override;

 private:
  FakeSpeechRecognizer& service_;
  State& state_;
  std::string identifier_;
};
}  // namespace

class FakeSpeechRecognizer::Request : public SpeechAudioRequest {
 public:
  Request(FakeSpeechRecognizer& service, size_t index) : service_(service), index_(index) {}

  void setShouldReportPartialResults(bool on) override {
    record("setShouldReportPartialResults", on);
    recording().shouldReportPartialResults = on;
  }
  void setAddsPunctuation(bool on) override {
    record("setAddsPunctuation", on);
    recording().addsPunctuation = on;
  }
  void setRequiresOnDeviceRecognition(bool on) override {
    record("setRequiresOnDeviceRecognition", on);
    recording().requiresOnDeviceRecognition = on;
  }
  bool appendPCMBuffer(const AudioFormat&, const void* samples, uint32_t frameCount) override;
  void endAudio() override;

  SpeechRequestRecording& recording() { return service_.recording_.requests[index_]; }
  Task* task = nullptr;  // the task reading this request, once started

 private:
  void record(const char* operation, bool on) {
    service_.state_.recorder.record(operation, "", std::string_view(on ? "true" : "false"));
  }
  FakeSpeechRecognizer& service_;
  size_t index_;
};

class FakeSpeechRecognizer::Task : public SpeechRecognitionTask {
 public:
  Task(std::shared_ptr<Request> request, SpeechResultHandler handler, size_t eventCount)
      : request(std::move(request)), handler(std::move(handler)), delivered(eventCount, false) {}

  void deliver(const ScriptedRecognitionEvent& event, size_t index) {
    delivered[index] = true;
    handler(event.result, event.error);
  }

  std::shared_ptr<Request> request;
  SpeechResultHandler handler;
  std::vector<bool> delivered;
  std::optional<double> audioEndedAt;  // virtual seconds since the start
};

FakeSpeechRecognizer::FakeSpeechRecognizer(State& state) : state_(state) {}
FakeSpeechRecognizer::~FakeSpeechRecognizer() = default;

// The answer comes at once, on the caller's thread: the simulated user has
// already made up their mind.
void FakeSpeechRecognizer::requestAuthorization(std::function<void(int64_t status)> completion) {
  state_.recorder.record("requestAuthorization");
  ++recording_.authorizationRequests;
  completion(scene_.authorizationStatus);
}

std::unique_ptr<LocaleSpeechRecognizer> FakeSpeechRecognizer::recognizerForLocale(
    std::string_view identifier) {
  state_.recorder.record("recognizerForLocale", "", [&] { return quotedText(identifier); });
  if (scene_.unavailableLocales.contains(identifier)) return nullptr;
  return std::make_unique<FakeLocaleRecognizer>(*this, state_, std::string(identifier));
}

std::unique_ptr<AudioFormat> FakeSpeechRecognizer::makeAudioFormat(int commonFormat,
                                                                   double sampleRate,
                                                                   uint32_t channels,
                                                                   bool interleaved) {
  state_.recorder.record("makeAudioFormat", "", [&] {
    return std::to_string(commonFormat) + " " + numberText(sampleRate) + " " +
           std::to_string(channels) + (interleaved ? " interleaved" : " non-interleaved");
  });
  if (scene_.audioFormatFails) return nullptr;
  return std::make_unique<FakeAudioFormat>();
}

std::shared_ptr<SpeechAudioRequest> FakeSpeechRecognizer::makeAudioBufferRequest() {
  state_.recorder.record("makeAudioBufferRequest");
  recording_.requests.emplace_back();
  return std::make_shared<Request>(*this, recording_.requests.size() - 1);
}

bool FakeLocaleRecognizer::supportsOnDeviceRecognition() {
  state_.recorder.record("supportsOnDeviceRecognition", "",
                         [&] { return quotedText(identifier_); });
  return service_.scene().supportsOnDeviceRecognition;
}

std::shared_ptr<SpeechRecognitionTask> FakeLocaleRecognizer::startTask(
    std::shared_ptr<SpeechAudioRequest> request, SpeechResultHandler handler) {
  return service_.startTaskFor(std::move(request), std::move(handler));
}

std::shared_ptr<SpeechRecognitionTask> FakeSpeechRecognizer::startTaskFor(
    std::shared_ptr<SpeechAudioRequest> request, SpeechResultHandler handler) {
  state_.recorder.record("recognitionTask");
  auto own = std::dynamic_pointer_cast<Request>(request);
  if (!own || own->task) return nullptr;  // not ours, or already read by a task
  auto task = std::make_shared<Task>(own, std::move(handler), scene_.events.size());
  own->task = task.get();
  own->recording().taskStarted = true;
  tasks_.push_back(task);
  return task;
}

bool FakeSpeechRecognizer::Request::appendPCMBuffer(const AudioFormat&, const void* samples,
                                                    uint32_t frameCount) {
  service_.state_.recorder.record("appendAudioPCMBuffer", "",
                                  [&] { return std::to_string(frameCount); });
  SpeechRequestRecording& audio = recording();
  // Audio after endAudio is refused by the platform; it never reaches the task.
  if (audio.audioEnded) return true;
  const size_t bytes = static_cast<size_t>(frameCount) * 2;
  if (audio.audio.size() < kRecordedAudioLimit) {
    const size_t kept = std::min(bytes, kRecordedAudioLimit - audio.audio.size());
    audio.audio.append(static_cast<const char*>(samples), kept);
  }
  audio.audioByteCount += bytes;
  if (service_.state_.recorder.recording()) audio.bufferFrames.push_back(frameCount);
  if (task) service_.deliverByteEvents(*task);
  return true;
}

void FakeSpeechRecognizer::Request::endAudio() {
  service_.state_.recorder.record("endAudio");
  SpeechRequestRecording& audio = recording();
  if (audio.audioEnded) return;
  audio.audioEnded = true;
  if (task) {
    task->audioEndedAt = service_.state_.elapsed;
    service_.runUntil(service_.state_.elapsed);
  }
}

void FakeSpeechRecognizer::deliverByteEvents(Task& task) {
  const uint64_t received = task.request->recording().audioByteCount;
  for (size_t i = 0; i < scene_.events.size(); ++i) {
    const ScriptedRecognitionEvent& event = scene_.events[i];
    if (task.delivered[i] || !event.afterBytes || *event.afterBytes > received) continue;
    task.deliver(event, i);
  }
}

FakeSpeechRecognizer::DueEvent FakeSpeechRecognizer::earliestDue(double elapsed) const {
  DueEvent next;
  for (const auto& task : tasks_) {
    if (!task->audioEndedAt) continue;
    for (size_t i = 0; i < scene_.events.size(); ++i) {
      const ScriptedRecognitionEvent& event = scene_.events[i];
      if (task->delivered[i] || !event.afterEndSeconds) continue;
      const double due = *task->audioEndedAt + *event.afterEndSeconds;
      if (due > elapsed || (next.task && due >= next.time)) continue;
      next = DueEvent{task.get(), i, due};
    }
  }
  return next;
}

std::optional<double> FakeSpeechRecognizer::nextEventTime(double elapsed) const {
  DueEvent next = earliestDue(elapsed);
  if (!next.task) return std::nullopt;
  return next.time;
}

void FakeSpeechRecognizer::runUntil(double elapsed) {
  for (DueEvent next = earliestDue(elapsed); next.task; next = earliestDue(elapsed)) {
    state_.elapsed = std::max(state_.elapsed, next.time);
    next.task->deliver(scene_.events[next.index], next.index);
  }
}

}  // namespace tessary::fake
