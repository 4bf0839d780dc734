// The scene's "speech" section: what it sets, and the message of each kind of
// mistake in it.
#include <gtest/gtest.h>

#include <ostream>

#include <string>

#include "platform/fake/fake_desktop.h"
#include "platform/fake/speech_recording.h"

namespace tessary::fake {
namespace {

std::string loadProblem(const std::string& speech) {
  auto loaded = FakeDesktop::fromSceneText("{\"speech\": " + speech + "}");
  if (auto* problem = std::get_if<std::string>(&loaded)) return *problem;
  return "(loaded)";
}

struct SpeechDefect {
  const char* name;
  std::string speech;
  std::string problem;
  friend void PrintTo(const SpeechDefect& c, std::ostream* os) { *os << c.name; }
};

class BrokenSpeechSection : public ::testing::TestWithParam<SpeechDefect> {};

TEST_P(BrokenSpeechSection, IsRefusedWithOneClearLine) {
  EXPECT_EQ(loadProblem(GetParam().speech), GetParam().problem);
}

INSTANTIATE_TEST_SUITE_P(
    Defects, BrokenSpeechSection,
    ::testing::Values(
        SpeechDefect{"NotAnObject", "[]", "speech: must be the speech recognizer (a JSON object)"},
        SpeechDefect{"UnknownKey", R"({"onDevice": true})",
                     R"(speech: unknown key "onDevice" (authorization, unavailableLocales, )"
                     R"(supportsOnDevice, audioFormatFails, events))"},
        SpeechDefect{"UnknownStatusName", R"({"authorization": "granted"})",
                     "speech.authorization: must be notDetermined, denied, restricted, authorized "
                     "or a number"},
        SpeechDefect{"LocaleNotAText", R"({"unavailableLocales": ["fr", 3]})",
                     "speech.unavailableLocales[1]: must be a text"},
        SpeechDefect{"EventWithoutTrigger", R"({"events": [{"text": "a"}]})",
                     "speech.events[0]: needs exactly one of afterBytes and afterEnd"},
        SpeechDefect{"EventWithTwoTriggers",
                     R"({"events": [{"afterBytes": 2, "afterEnd": 1, "text": "a"}]})",
                     "speech.events[0]: needs exactly one of afterBytes and afterEnd"},
        SpeechDefect{"EventWithNothingToSay", R"({"events": [{"afterBytes": 2}]})",
                     "speech.events[0]: needs a text, an error or both"},
        SpeechDefect{"FinalWithoutText", R"({"events": [{"afterBytes": 2, "isFinal": true}]})",
                     "speech.events[0]: isFinal needs a text"},
        SpeechDefect{"NegativeBytes", R"({"events": [{"afterBytes": -2, "text": "a"}]})",
                     "speech.events[0].afterBytes: must not be negative"},
        SpeechDefect{"NegativeSeconds", R"({"events": [{"afterEnd": -0.5, "text": "a"}]})",
                     "speech.events[0].afterEnd: must be a number of seconds, 0 or more"},
        SpeechDefect{"ErrorWithoutCode",
                     R"({"events": [{"afterEnd": 0, "error": {"domain": "d"}}]})",
                     "speech.events[0].error: needs domain and code"},
        SpeechDefect{
            "ErrorUnknownKey",
            R"({"events": [{"afterEnd": 0, "error": {"domain": "d", "code": 1, "message": "m"}}]})",
            R"(speech.events[0].error: unknown key "message" (domain, code, description))"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SpeechSection, WithoutOneEveryLocaleIsAuthorizedAndAvailable) {
  auto desktop = loadSceneOrThrow("{}");
  SpeechRecognizer& speech = desktop->platform().speechRecognizer;
  int64_t status = -1;
  speech.requestAuthorization([&](int64_t given) { status = given; });
  EXPECT_EQ(status, speechauthorization::authorized);
  auto recognizer = speech.recognizerForLocale("tlh");
  ASSERT_TRUE(recognizer);
  EXPECT_FALSE(recognizer->supportsOnDeviceRecognition());
  EXPECT_TRUE(speech.makeAudioFormat(kAudioCommonFormatInt16, 16000, 1, false));
}

TEST(SpeechSection, EachRequestRecordsItsAudioAndATaskHearsOnlyItsOwn) {
  auto desktop = loadSceneOrThrow(R"({"speech": {"events": [{"afterBytes": 4, "text": "four"}]}})");
  SpeechRecognizer& speech = desktop->platform().speechRecognizer;
  auto recognizer = speech.recognizerForLocale("en-US");
  auto format = speech.makeAudioFormat(kAudioCommonFormatInt16, 16000, 1, false);
  auto heard = speech.makeAudioBufferRequest();
  auto unheard = speech.makeAudioBufferRequest();
  std::vector<std::string> texts;
  auto task = recognizer->startTask(heard, [&](const auto& result, const auto&) {
    if (result) texts.push_back(result->formattedString);
  });
  ASSERT_TRUE(task);
  EXPECT_FALSE(recognizer->startTask(heard, [](const auto&, const auto&) {}))
      << "a request is read by one task";
  unheard->appendPCMBuffer(*format, "abcdefgh", 4);
  heard->appendPCMBuffer(*format, "ab", 1);
  EXPECT_TRUE(texts.empty());
  heard->appendPCMBuffer(*format, "cdef", 2);
  heard->endAudio();
  heard->appendPCMBuffer(*format, "gh", 1);
  EXPECT_EQ(texts, std::vector<std::string>{"four"});
  const SpeechRecording& recording = desktop->speechRecording();
  ASSERT_EQ(recording.requests.size(), 2u);
  EXPECT_EQ(recording.requests[0].audio, "abcdef") << "nothing after endAudio";
  EXPECT_TRUE(recording.requests[0].audioEnded);
  EXPECT_EQ(recording.requests[1].audio, "abcdefgh");
  EXPECT_FALSE(recording.requests[1].taskStarted);
}

TEST(SpeechSection, KeepsTheFirstMegabyteOfAudioAndCountsTheRest) {
  auto desktop = loadSceneOrThrow("{}");
  SpeechRecognizer& speech = desktop->platform().speechRecognizer;
  auto format = speech.makeAudioFormat(kAudioCommonFormatInt16, 16000, 1, false);
  auto request = speech.makeAudioBufferRequest();
  const std::string chunk(kRecordedAudioLimit / 2 + 2, 'x');
  for (int i = 0; i < 3; ++i)
    request->appendPCMBuffer(*format, chunk.data(), chunk.size() / 2);
  const SpeechRequestRecording& recorded = desktop->speechRecording().requests[0];
  EXPECT_EQ(recorded.audio.size(), kRecordedAudioLimit);
  EXPECT_EQ(recorded.audioByteCount, 3 * chunk.size());
}

}  // namespace
}  // namespace tessary::fake
