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

inline std::unique_ptr<fake::FakeDesktop> loadSceneFile(const std::string& path) {
  auto loaded = fake::FakeDesktop::fromSceneFile(path);
  if (auto* problem = std::get_if<std::string>(&loaded)) {
    ADD_FAILURE() << *problem;
    return nullptr;
  }
  return std::move(std::get<std::unique_ptr<fake::FakeDesktop>>(loaded));
}

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
