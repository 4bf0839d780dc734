// voice-scribe: streams 16-bit mono 16 kHz audio from standard input into
// the platform's speech recognizer and prints the running transcript, one
// JSON line per result, until two seconds after standard input ends.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <variant>

#include "platform/program.h"
#include "voice-scribe/sample_aligner.h"

namespace tessary {

inline constexpr const char* kVoiceScribeUsageMessage =
    "Usage: voice-scribe --locale <locale-identifier>";
inline constexpr const char* kRecognizerUnavailableMessage =
    "SFSpeechRecognizer not available for ";
inline constexpr const char* kAudioFormatFailedMessage = "Failed to create audio format";
inline constexpr const char* kPermissionNotDeterminedMessage =
    "Speech recognition permission not determined";
inline constexpr const char* kPermissionDeniedMessage = "Speech recognition permission denied";
inline constexpr const char* kPermissionRestrictedMessage =
    "Speech recognition restricted on this device";
inline constexpr const char* kPermissionUnknownMessage =
    "Unknown speech recognition authorization status";
inline constexpr const char* kRecognitionErrorPrefix = "Recognition error: ";
inline constexpr const char* kReadErrorPrefix = "stdin read error: ";

// The recognizer's report that it stopped listening, which is no news to the
// user: not written.
inline constexpr const char* kIgnoredErrorDomain = "kAFAssistantErrorDomain";
inline constexpr int64_t kIgnoredErrorCode = 1;

// How long the tool waits for the last results after standard input ends.
inline constexpr uint64_t kEndOfInputGraceMicroseconds = 2'000'000;

inline constexpr int kVoiceScribeStatusDone = 0;
inline constexpr int kVoiceScribeStatusFailed = 1;

// One dictation. Results come on the recognizer's own queue while the
// program's thread reads standard input, so the open request and everything
// written are guarded by one lock. Once a final result has arrived the
// request and the task are dropped: audio read after it is discarded (not
// kept, not sent), later results are not printed, and the tool still ends two
// seconds after standard input does.
class VoiceScribeCLI : public std::enable_shared_from_this<VoiceScribeCLI> {
 public:
  // The recognizer and the audio format for `localeIdentifier`, or the
  // message of the start-up failure.
  static std::variant<std::shared_ptr<VoiceScribeCLI>, std::string> create(
      ProgramContext& context, const std::string& localeIdentifier);

  // Asks for speech authorization and waits for the answer; writes the
  // error line of a refusal.
  bool requestAuthorization();
  // Opens the request (partial results, punctuation, on-device recognition
  // where the recognizer has it) and starts the task.
  void startRecognition();
  // Appends standard input to the request, chunk by chunk as it arrives,
  // until it ends or fails; then ends the audio.
  void feedAudio(InputStream& in);
  // Waits the grace period for late results, then stops writing anything.
  void finish();

  VoiceScribeCLI(ProgramContext& context, std::unique_ptr<LocaleSpeechRecognizer> recognizer,
                 std::unique_ptr<AudioFormat> audioFormat);

 private:
  void handleRecognition(const std::optional<SpeechRecognitionResult>& result,
                         const std::optional<SpeechRecognitionError>& error);
  void appendSamples(std::span<const char> samples);
  void writeError(std::string_view message);

  ProgramContext& context_;
  const std::unique_ptr<LocaleSpeechRecognizer> recognizer_;
  const std::unique_ptr<AudioFormat> audioFormat_;

  std::mutex mutex_;  // guards what follows and both output streams
  std::shared_ptr<SpeechAudioRequest> recognitionRequest_;
  std::shared_ptr<SpeechRecognitionTask> recognitionTask_;
  bool finalResultSeen_ = false;
  bool finished_ = false;

  SampleAligner aligner_;
};

int runVoiceScribe(ProgramContext& context);

}  // namespace tessary
