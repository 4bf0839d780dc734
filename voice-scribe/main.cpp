#include "platform/program.h"
#include "voice-scribe/voice_scribe.h"

int main(int argc, char** argv) {
  return tessary::runProgramMain(argc, argv, tessary::runVoiceScribe);
}
