// The real program, fed a second of audio through a pipe, on the dictation
// scene.
#include <gtest/gtest.h>

#include "testsupport/paths.h"
#include "testsupport/run_binary.h"

namespace tessary {
namespace {

TEST(VoiceScribeBinary, PrintsPartialAndFinalLinesForPipedAudioThenExits0) {
  // One second of 16 kHz samples and an odd byte at the end.
  std::string audio(32001, '\0');
  for (size_t i = 0; i < audio.size(); ++i)
    audio[i] = static_cast<char>(i % 251);
  testing::BinaryRun run = testing::runBinary(
      "voice-scribe", {"--locale", "en-GB"},
      {{"TESSARY_SIM_DESKTOP", testing::sourcePath("voice-scribe/tests/scenes/dictation.json")}},
      audio);
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.out,
            "{\"text\":\"Remind me\",\"isFinal\":false}\n"
            "{\"text\":\"Remind me to call\",\"isFinal\":false}\n"
            "{\"text\":\"Remind me to call Ana.\",\"isFinal\":true}\n");
  EXPECT_EQ(run.err, "");
}

}  // namespace
}  // namespace tessary
