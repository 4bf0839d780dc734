// Runs pane-scout in process on a scene and keeps the desktop for questions
// about what the run did.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "pane-scout/pane_scout.h"
#include "platform/fake/fake_desktop.h"
#include "testsupport/paths.h"

namespace tessary::panescout::testing {

struct ScoutRun {
  int status = -1;
  std::string out, err;
};

inline std::string scenePath(const std::string& scene) {
  return tessary::testing::sourcePath("pane-scout/tests/scenes/" + scene);
}

// What a watch of pid 42 on window_moves_and_closes.json writes: the window,
// moved one point, retitled, gone, and back (with a new number).
inline constexpr const char* kWindowMovesAndClosesLines =
    "ok pid=42 cgWindowId=7 x=100 y=100 w=800 h=600 owner=Notes title=Groceries "
    "appBundle=/Applications/Notes.app\n"
    "ok pid=42 cgWindowId=7 x=101 y=100 w=800 h=600 owner=Notes title=Groceries "
    "appBundle=/Applications/Notes.app\n"
    "ok pid=42 cgWindowId=7 x=101 y=100 w=800 h=600 owner=Notes title=Groceries 2 "
    "appBundle=/Applications/Notes.app\n"
    "gone\n"
    "ok pid=42 cgWindowId=9 x=100 y=100 w=800 h=600 owner=Notes title=Groceries "
    "appBundle=/Applications/Notes.app\n";

inline ScoutRun runScout(Platform& platform, std::vector<std::string> arguments,
                         Environment environment = {}, InputStream* input = nullptr) {
  std::ostringstream out, err;
  ProgramContext context{std::move(arguments), std::move(environment), out, err, platform, input};
  ScoutRun run;
  run.status = runPaneScout(context);
  run.out = out.str();
  run.err = err.str();
  return run;
}

}  // namespace tessary::panescout::testing
