#include "platform/program.h"
#include "scene-census/capture/capture_run.h"

int main(int argc, char** argv) {
  return tessary::runProgramMain(argc, argv, tessary::runSceneCensus);
}
