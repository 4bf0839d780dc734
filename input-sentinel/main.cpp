#include "input-sentinel/input_sentinel.h"
#include "platform/program.h"

int main(int argc, char** argv) {
  return tessary::runProgramMain(argc, argv, tessary::runInputSentinel);
}
