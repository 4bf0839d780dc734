#include "pane-scout/pane_scout.h"
#include "platform/program.h"

int main(int argc, char** argv) {
  return tessary::runProgramMain(argc, argv, [](tessary::ProgramContext& context) {
    return tessary::runPaneScout(context, tessary::EndOfInput::exitsProcess);
  });
}
