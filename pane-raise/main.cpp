#include "pane-raise/pane_raise.h"
#include "platform/program.h"

int main(int argc, char** argv) {
  return tessary::runProgramMain(argc, argv, tessary::runPaneRaise);
}
