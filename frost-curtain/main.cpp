#include "frost-curtain/curtain_app.h"
#include "platform/program.h"

int main(int argc, char** argv) {
  return tessary::runProgramMain(argc, argv, tessary::curtain::runFrostCurtain);
}
