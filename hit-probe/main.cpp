#include "hit-probe/hit_probe.h"
#include "platform/program.h"

int main(int argc, char** argv) {
  return tessary::runProgramMain(argc, argv, tessary::runHitProbe);
}
