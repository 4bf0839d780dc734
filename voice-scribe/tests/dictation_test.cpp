// Whole dictations in virtual time against the simulated recognizer: start-up
// failures, the request, what the recognizer receives, which results and
// errors become lines, and the end two seconds after the input.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ostream>

#include <sstream>

#include "platform/fake/fake_desktop.h"
#include "platform/fake/speech_recording.h"
#include "voice-scribe/voice_scribe.h"

namespace tessary {
namespace {

using ::testing::ElementsAre;

struct Dictation {
  int status = -1;
  std::string out, err;
  size_t reads = 0;
  std::unique_ptr<fake::FakeDesktop> desktop;

  const fake::SpeechRecording& speech() const { return desktop->speechRecording(); }
  std::vector<std::string> operations() const {
    std::vector<std::string> names;
    for (const fake::PlatformCall& call : desktop->calls()) {
      if (call.operation != "appendAudioPCMBuffer") names.push_back(call.operation);
    }
    return names;
  }
};

Dictation dictate(const std::string& speechSection, std::vector<std::string> chunks,
                  std::vector<std::string> arguments = {}, int readErrorAtEnd = 0) {
  Dictation run;
  run.desktop = fake::loadSceneOrThrow("{\"speech\": " + speechSection + "}");
  std::ostringstream out, err;
  ScriptedInput in(std::move(chunks), readErrorAtEnd);
  ProgramContext context{std::move(arguments), {}, out, err, run.desktop->platform(), &in};
  run.status = runVoiceScribe(context);
  run.out = out.str();
  run.err = err.str();
  run.reads = in.readCount();
  return run;
}

// Bytes that tell their position, so a lost or shifted byte shows.
std::string patternedBytes(size_t count) {
  std::string bytes(count, '\0');
  for (size_t i = 0; i < count; ++i)
    bytes[i] = static_cast<char>((i * 131 + 17) & 0xFF);
  return bytes;
}

std::string line(const std::string& text, bool isFinal) {
  return "{\"text\":\"" + text + "\",\"isFinal\":" + (isFinal ? "true" : "false") + "}\n";
}

TEST(DictationStart, AsksForTheLocaleAndTheFormatThenAuthorizationThenStarts) {
  Dictation run = dictate("{\"supportsOnDevice\": true}", {patternedBytes(8)}, {"--locale=fr-FR"});
  EXPECT_EQ(run.status, 0);
  EXPECT_THAT(
      run.operations(),
      ElementsAre("recognizerForLocale", "makeAudioFormat", "requestAuthorization",
                  "makeAudioBufferRequest", "setShouldReportPartialResults", "setAddsPunctuation",
                  "supportsOnDeviceRecognition", "setRequiresOnDeviceRecognition",
                  "recognitionTask", "endAudio", "sleepMicroseconds"));
  const fake::PlatformCall& locale = run.desktop->calls()[0];
  EXPECT_EQ(locale.detail, "\"fr-FR\"");
  EXPECT_EQ(run.desktop->calls()[1].detail, "3 16000 1 non-interleaved");
  ASSERT_EQ(run.speech().requests.size(), 1u);
  const fake::SpeechRequestRecording& request = run.speech().requests[0];
  EXPECT_TRUE(request.shouldReportPartialResults);
  EXPECT_TRUE(request.addsPunctuation);
  EXPECT_TRUE(request.requiresOnDeviceRecognition);
  EXPECT_TRUE(request.taskStarted);
}

TEST(DictationStart, LeavesServerRecognitionAllowedWithoutOnDeviceSupport) {
  Dictation run = dictate("{}", {});
  ASSERT_EQ(run.speech().requests.size(), 1u);
  EXPECT_FALSE(run.speech().requests[0].requiresOnDeviceRecognition);
  EXPECT_EQ(run.desktop->calls()[0].detail, "\"en-US\"");
}

struct StartFailure {
  const char* name;
  std::string speech;
  std::vector<std::string> arguments;
  std::string err;
  friend void PrintTo(const StartFailure& c, std::ostream* os) { *os << c.name; }
};

class StartFailures : public ::testing::TestWithParam<StartFailure> {};

TEST_P(StartFailures, WriteTheirLineAndExit1WithoutReadingAudio) {
  Dictation run = dictate(GetParam().speech, {patternedBytes(64)}, GetParam().arguments);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "{\"error\":\"" + GetParam().err + "\"}\n");
  EXPECT_EQ(run.reads, 0u);
  EXPECT_TRUE(run.speech().requests.empty());
  EXPECT_EQ(run.desktop->elapsedSeconds(), 0.0) << "no grace period";
}

INSTANTIATE_TEST_SUITE_P(
    Table, StartFailures,
    ::testing::Values(
        StartFailure{"UnsupportedLocale",
                     R"({"unavailableLocales": ["xx"]})",
                     {"--locale", "xx"},
                     "SFSpeechRecognizer not available for xx"},
        StartFailure{
            "AudioFormat", R"({"audioFormatFails": true})", {}, "Failed to create audio format"},
        StartFailure{"NotDetermined",
                     R"({"authorization": "notDetermined"})",
                     {},
                     "Speech recognition permission not determined"},
        StartFailure{
            "Denied", R"({"authorization": "denied"})", {}, "Speech recognition permission denied"},
        StartFailure{"Restricted",
                     R"({"authorization": "restricted"})",
                     {},
                     "Speech recognition restricted on this device"},
        StartFailure{"UnknownStatus",
                     R"({"authorization": 7})",
                     {},
                     "Unknown speech recognition authorization status"},
        StartFailure{"NegativeStatus",
                     R"({"authorization": -1})",
                     {},
                     "Unknown speech recognition authorization status"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DictationStart, AnUnsupportedLocaleIsNamedAsTyped) {
  Dictation run = dictate(R"({"unavailableLocales": ["zz \"q\""]})", {}, {"--locale=  zz \"q\" "});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "{\"error\":\"SFSpeechRecognizer not available for zz \\\"q\\\"\"}\n");
}

TEST(DictationAudio, ReachesTheRecognizerWholeAndInOrderWhateverTheChunks) {
  const std::string audio = patternedBytes(3 * 4097 + 2 * 3 + 1 + 2 + 1);
  std::vector<std::string> chunks;
  size_t offset = 0;
  for (size_t size : {1, 2, 3, 4097, 1, 4097, 3, 4097}) {
    chunks.push_back(audio.substr(offset, size));
    offset += size;
  }
  ASSERT_EQ(offset, audio.size());
  Dictation run = dictate("{}", chunks);
  EXPECT_EQ(run.status, 0);
  ASSERT_EQ(run.speech().requests.size(), 1u);
  const fake::SpeechRequestRecording& request = run.speech().requests[0];
  // Everything but the lone last byte, as whole samples in the order sent.
  EXPECT_EQ(request.audio, audio.substr(0, audio.size() - 1));
  EXPECT_EQ(request.audioByteCount, audio.size() - 1);
  // One buffer per chunk that completes a sample: the first byte waits for
  // the second chunk, each odd chunk lends its last byte to the next one, and
  // the very last byte never finds its partner.
  EXPECT_THAT(request.bufferFrames, ElementsAre(1, 2, 2048, 1, 2048, 2, 2048));
  EXPECT_TRUE(request.audioEnded);
}

TEST(DictationAudio, AnEmptyStreamEndsTheAudioAndExits0AfterTwoSeconds) {
  Dictation run = dictate(R"({"events": [{"afterBytes": 0, "text": "never"}]})", {});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "");
  ASSERT_EQ(run.speech().requests.size(), 1u);
  EXPECT_TRUE(run.speech().requests[0].audioEnded);
  EXPECT_EQ(run.speech().requests[0].audioByteCount, 0u);
  EXPECT_DOUBLE_EQ(run.desktop->elapsedSeconds(), 2.0);
}

TEST(DictationAudio, AReadErrorIsReportedOnceAndEndsTheStreamLikeEndOfInput) {
  Dictation run = dictate("{}", {patternedBytes(6)}, {}, 5);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "{\"error\":\"stdin read error: 5\"}\n");
  EXPECT_EQ(run.reads, 2u) << "no read after the error";
  EXPECT_EQ(run.speech().requests[0].audio, patternedBytes(6));
  EXPECT_TRUE(run.speech().requests[0].audioEnded);
  EXPECT_DOUBLE_EQ(run.desktop->elapsedSeconds(), 2.0);
}

TEST(DictationResults, PartialsThenTheFinalBecomeLinesAsTheAudioArrives) {
  Dictation run = dictate(R"({"events": [
      {"afterBytes": 4, "text": "Hel"},
      {"afterBytes": 8, "text": "Hello"},
      {"afterBytes": 12, "text": "Hello \"world\".", "isFinal": true}]})",
                          {patternedBytes(4), patternedBytes(4), patternedBytes(4)});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out,
            line("Hel", false) + line("Hello", false) + line("Hello \\\"world\\\".", true));
  EXPECT_EQ(run.err, "");
}

TEST(DictationResults, AudioAfterTheFinalResultIsDiscardedAndNothingMoreIsPrinted) {
  // The recognizer here keeps talking after its final result, in the same
  // chunk and after the end of input.
  Dictation run = dictate(R"({"events": [
      {"afterBytes": 4, "text": "Done.", "isFinal": true},
      {"afterBytes": 4, "text": "Done. And more"},
      {"afterBytes": 8, "text": "never reached"},
      {"afterEnd": 0.5, "text": "late", "isFinal": true}]})",
                          {patternedBytes(4), patternedBytes(4), patternedBytes(400)});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, line("Done.", true));
  EXPECT_EQ(run.reads, 4u) << "the input is still read to its end";
  const fake::SpeechRequestRecording& request = run.speech().requests[0];
  EXPECT_EQ(request.audioByteCount, 4u);
  EXPECT_FALSE(request.audioEnded) << "the closed request is not ended again";
  EXPECT_DOUBLE_EQ(run.desktop->elapsedSeconds(), 2.0);
}

TEST(DictationResults, ResultsDuringTheGracePeriodArePrintedAndLaterOnesLost) {
  Dictation run = dictate(R"({"events": [
      {"afterEnd": 1.5, "text": "Almost"},
      {"afterEnd": 1.0, "text": "Al"},
      {"afterEnd": 2.0, "text": "Almost there.", "isFinal": true},
      {"afterEnd": 2.5, "error": {"domain": "x", "code": 3, "description": "too late"}}]})",
                          {patternedBytes(10)});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, line("Al", false) + line("Almost", false) + line("Almost there.", true));
  EXPECT_EQ(run.err, "");
}

TEST(DictationErrors, AreReportedAndTheDictationGoesOn) {
  Dictation run = dictate(R"({"events": [
      {"afterBytes": 2, "error": {"domain": "kAFAssistantErrorDomain", "code": 1, "description": "ignored"}},
      {"afterBytes": 2, "error": {"domain": "kAFAssistantErrorDomain", "code": 1110, "description": "No speech detected"}},
      {"afterBytes": 4, "error": {"domain": "other", "code": 1, "description": "Path \\ \"x\"\nnext"}},
      {"afterBytes": 6, "text": "still here"}]})",
                          {patternedBytes(2), patternedBytes(2), patternedBytes(2)});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err,
            "{\"error\":\"Recognition error: No speech detected\"}\n"
            "{\"error\":\"Recognition error: Path \\\\ \\\"x\\\"\\nnext\"}\n");
  EXPECT_EQ(run.out, line("still here", false));
  EXPECT_EQ(run.speech().requests[0].audioByteCount, 6u) << "the task is not restarted";
}

TEST(DictationErrors, AResultAndAnErrorInOneCallAreHandledInThatOrder) {
  // The order shows on one stream only, so both go to one here.
  auto desktop = fake::loadSceneOrThrow(R"({"speech": {"events": [
      {"afterBytes": 2, "text": "Bye.", "isFinal": true,
       "error": {"domain": "d", "code": 9, "description": "after the final"}}]}})");
  std::ostringstream both;
  ScriptedInput in({patternedBytes(2)});
  ProgramContext context{{}, {}, both, both, desktop->platform(), &in};
  EXPECT_EQ(runVoiceScribe(context), 0);
  EXPECT_EQ(both.str(),
            line("Bye.", true) + "{\"error\":\"Recognition error: after the final\"}\n");
}

TEST(DictationEnd, NothingIsWrittenOnceTheGracePeriodIsOver) {
  auto desktop = fake::loadSceneOrThrow(R"({"speech": {"events": [
      {"afterEnd": 2.5, "text": "after the exit"}]}})");
  std::ostringstream out, err;
  ScriptedInput in({});
  ProgramContext context{{}, {}, out, err, desktop->platform(), &in};
  EXPECT_EQ(runVoiceScribe(context), 0);
  // The recognizer goes on delivering after the program has returned, as it
  // would until the process is gone.
  desktop->platform().clock.sleepMicroseconds(1'000'000);
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(err.str(), "");
}

}  // namespace
}  // namespace tessary
