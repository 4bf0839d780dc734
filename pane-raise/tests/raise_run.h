// Runs pane-raise in process on a scene and keeps the desktop for questions
// about what the run did.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "pane-raise/pane_raise.h"
#include "platform/fake/fake_desktop.h"
#include "testsupport/paths.h"

namespace tessary::paneraise::testing {

struct RaiseRun {
  int status = -1;
  std::string out, err;
};

inline std::string scenePath(const std::string& scene) {
  return tessary::testing::sourcePath("pane-raise/tests/scenes/" + scene);
}

inline RaiseRun runRaise(Platform& platform, std::vector<std::string> arguments,
                         Environment environment = {}) {
  std::ostringstream out, err;
  ProgramContext context{std::move(arguments), std::move(environment), out, err, platform};
  RaiseRun run;
  run.status = runPaneRaise(context);
  run.out = out.str();
  run.err = err.str();
  return run;
}

// "operation element detail" of every call of these operations, in order.
inline std::vector<std::string> callsOf(const fake::FakeDesktop& desktop,
                                        const std::vector<std::string>& operations) {
  std::vector<std::string> calls;
  for (const fake::PlatformCall& call : desktop.calls()) {
    for (const std::string& operation : operations) {
      if (call.operation == operation) {
        calls.push_back(call.operation + (call.element.empty() ? "" : " " + call.element) +
                        (call.detail.empty() ? "" : " " + call.detail));
      }
    }
  }
  return calls;
}

}  // namespace tessary::paneraise::testing
