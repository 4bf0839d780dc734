#include "voice-scribe/voice_scribe.h"

#include <condition_variable>
#include <optional>

#include "voice-scribe/locale_arguments.h"
#include "voice-scribe/transcript_lines.h"

namespace tessary {

namespace {
constexpr double kSampleRate = 16000.0;
constexpr uint32_t kChannels = 1;
constexpr size_t kBytesPerSample = 2;

const char* refusalMessage(int64_t status) {
  switch (status) {
    case speechauthorization::notDetermined:
      return kPermissionNotDeterminedMessage;
    case speechauthorization::denied:
      return kPermissionDeniedMessage;
    case speechauthorization::restricted:
      return kPermissionRestrictedMessage;
    default:
      return kPermissionUnknownMessage;
  }
}

// The status the completion hands over, possibly from another thread.
class AuthorizationAnswer {
 public:
  void give(int64_t status) {
    std::lock_guard lock(mutex_);
    if (status_) return;  // a second answer changes nothing
    status_ = status;
    given_.notify_all();
  }
  int64_t wait() {
    std::unique_lock lock(mutex_);
    given_.wait(lock, [&] { return status_.has_value(); });
    return *status_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable given_;
  std::optional<int64_t> status_;
};
}  // namespace

VoiceScribeCLI::VoiceScribeCLI(ProgramContext& context,
                               std::unique_ptr<LocaleSpeechRecognizer> recognizer,
                               std::unique_ptr<AudioFormat> audioFormat)
    : context_(context), recognizer_(std::move(recognizer)), audioFormat_(std::move(audioFormat)) {}

std::variant<std::shared_ptr<VoiceScribeCLI>, std::string> VoiceScribeCLI::create(
    ProgramContext& context, const std::string& localeIdentifier) {
  SpeechRecognizer& speech = context.platform.speechRecognizer;
  std::unique_ptr<LocaleSpeechRecognizer> recognizer = speech.recognizerForLocale(localeIdentifier);
  if (!recognizer) return std::string(kRecognizerUnavailableMessage) + localeIdentifier;
  std::unique_ptr<AudioFormat> format =
      speech.makeAudioFormat(kAudioCommonFormatInt16, kSampleRate, kChannels, false);
  if (!format) return std::string(kAudioFormatFailedMessage);
  return std::make_shared<VoiceScribeCLI>(context, std::move(recognizer), std::move(format));
}

bool VoiceScribeCLI::requestAuthorization() {
  auto answer = std::make_shared<AuthorizationAnswer>();
  context_.platform.speechRecognizer.requestAuthorization(
      [answer](int64_t status) { answer->give(status); });
  const int64_t status = answer->wait();
  if (status == speechauthorization::authorized) return true;
  writeError(refusalMessage(status));
  return false;
}

void VoiceScribeCLI::startRecognition() {
  std::shared_ptr<SpeechAudioRequest> request =
      context_.platform.speechRecognizer.makeAudioBufferRequest();
  request->setShouldReportPartialResults(true);
  request->setAddsPunctuation(true);
  if (recognizer_->supportsOnDeviceRecognition()) request->setRequiresOnDeviceRecognition(true);
  {
    std::lock_guard lock(mutex_);
    recognitionRequest_ = request;
  }
  // The handler must not keep the dictation alive, nor reach it once it is
  // gone: the platform may call it until the process exits.
  std::weak_ptr<VoiceScribeCLI> weak = weak_from_this();
  std::shared_ptr<SpeechRecognitionTask> task =
      recognizer_->startTask(request, [weak](const std::optional<SpeechRecognitionResult>& result,
                                             const std::optional<SpeechRecognitionError>& error) {
        if (auto self = weak.lock()) self->handleRecognition(result, error);
      });
  std::lock_guard lock(mutex_);
  // A final result may already have closed the request.
  if (!finalResultSeen_) recognitionTask_ = std::move(task);
}

void VoiceScribeCLI::handleRecognition(const std::optional<SpeechRecognitionResult>& result,
                                       const std::optional<SpeechRecognitionError>& error) {
  std::lock_guard lock(mutex_);
  if (finished_) return;
  if (result && !finalResultSeen_) {
    emitTranscript(context_.out, result->formattedString, result->isFinal);
    if (result->isFinal) {
      finalResultSeen_ = true;
      recognitionRequest_.reset();
      recognitionTask_.reset();
    }
  }
  if (error && !(error->domain == kIgnoredErrorDomain && error->code == kIgnoredErrorCode)) {
    emitError(context_.err, kRecognitionErrorPrefix + error->localizedDescription);
  }
}

void VoiceScribeCLI::appendSamples(std::span<const char> samples) {
  if (samples.empty()) return;
  std::shared_ptr<SpeechAudioRequest> request;
  {
    std::lock_guard lock(mutex_);
    request = recognitionRequest_;
  }
  // Without a request (after a final result) the audio is dropped. The
  // append runs outside the lock: a recognizer may answer from inside it.
  if (!request) return;
  request->appendPCMBuffer(*audioFormat_, samples.data(),
                           static_cast<uint32_t>(samples.size() / kBytesPerSample));
}

void VoiceScribeCLI::feedAudio(InputStream& in) {
  for (;;) {
    std::span<char> space = aligner_.readSpace();
    int errorNumber = 0;
    const long count = in.read(space.data(), space.size(), errorNumber);
    if (count < 0) {
      if (errorNumber != 0) writeError(kReadErrorPrefix + std::to_string(errorNumber));
      break;
    }
    if (count == 0) break;
    appendSamples(aligner_.takeSamples(static_cast<size_t>(count)));
  }
  std::shared_ptr<SpeechAudioRequest> request;
  {
    std::lock_guard lock(mutex_);
    request = recognitionRequest_;
  }
  if (request) request->endAudio();
}

void VoiceScribeCLI::finish() {
  context_.platform.clock.sleepMicroseconds(kEndOfInputGraceMicroseconds);
  std::lock_guard lock(mutex_);
  finished_ = true;
}

void VoiceScribeCLI::writeError(std::string_view message) {
  std::lock_guard lock(mutex_);
  emitError(context_.err, message);
}

int runVoiceScribe(ProgramContext& context) {
  std::optional<std::string> locale = parseLocaleIdentifier(context.arguments);
  if (!locale) {
    emitError(context.err, kVoiceScribeUsageMessage);
    return kVoiceScribeStatusFailed;
  }
  auto created = VoiceScribeCLI::create(context, *locale);
  if (auto* problem = std::get_if<std::string>(&created)) {
    emitError(context.err, *problem);
    return kVoiceScribeStatusFailed;
  }
  std::shared_ptr<VoiceScribeCLI> dictation = std::get<std::shared_ptr<VoiceScribeCLI>>(created);
  if (!dictation->requestAuthorization()) return kVoiceScribeStatusFailed;
  dictation->startRecognition();
  if (context.in) dictation->feedAudio(*context.in);
  dictation->finish();
  return kVoiceScribeStatusDone;
}

}  // namespace tessary
