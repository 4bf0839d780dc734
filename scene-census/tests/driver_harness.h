// Runs the capture in-process on the simulated desktop and takes its output
// apart: status, both streams, parsed JSON and the platform calls it made.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "common/environment.h"
#include "platform/fake/fake_desktop.h"
#include "platform/program.h"
#include "scene-census/capture/capture_run.h"
#include "testsupport/paths.h"

namespace tessary::driver_test {

struct CensusRun {
  int status = -1;
  std::string out;
  std::string err;
};

inline CensusRun runCensus(Platform& platform, Environment environment = {}) {
  std::ostringstream out, err;
  ProgramContext context{{}, std::move(environment), out, err, platform};
  CensusRun run;
  run.status = runSceneCensus(context);
  run.out = out.str();
  run.err = err.str();
  return run;
}

inline CensusRun runCensus(fake::FakeDesktop& desktop, Environment environment = {}) {
  return runCensus(desktop.platform(), std::move(environment));
}

inline std::string driverScenePath(const std::string& name) {
  return testing::sourcePath("scene-census/tests/scenes/driver/" + name);
}

// A scene of scene-census/tests/scenes/driver/.
inline std::unique_ptr<fake::FakeDesktop> loadDriverScene(const std::string& name) {
  auto loaded = fake::FakeDesktop::fromSceneFile(driverScenePath(name));
  if (auto* problem = std::get_if<std::string>(&loaded)) throw std::runtime_error(*problem);
  return std::move(std::get<std::unique_ptr<fake::FakeDesktop>>(loaded));
}

inline std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);)
    lines.push_back(line);
  return lines;
}

inline bool hasLine(const std::string& text, const std::string& line) {
  for (const std::string& l : linesOf(text))
    if (l == line) return true;
  return false;
}

// The lines that begin with `prefix`, in order.
inline std::vector<std::string> linesStartingWith(const std::string& text,
                                                  const std::string& prefix) {
  std::vector<std::string> found;
  for (const std::string& l : linesOf(text))
    if (l.rfind(prefix, 0) == 0) found.push_back(l);
  return found;
}

// The recorded calls of the given operations as "operation element detail".
inline std::vector<std::string> callsOf(const fake::FakeDesktop& desktop,
                                        const std::set<std::string>& operations) {
  std::vector<std::string> found;
  for (const fake::PlatformCall& call : desktop.calls()) {
    if (!operations.count(call.operation)) continue;
    std::string text = call.operation;
    if (!call.element.empty()) text += " " + call.element;
    if (!call.detail.empty()) text += " " + call.detail;
    found.push_back(text);
  }
  return found;
}

inline size_t countCalls(const fake::FakeDesktop& desktop, const std::string& operation) {
  size_t count = 0;
  for (const fake::PlatformCall& call : desktop.calls())
    count += call.operation == operation;
  return count;
}

// The printed object; a failed expectation when it is not JSON.
inline nlohmann::json parsedOutput(const CensusRun& run) {
  nlohmann::json output = nlohmann::json::parse(run.out, nullptr, false);
  EXPECT_FALSE(output.is_discarded()) << "not JSON: " << run.out;
  return output;
}

// The "name" of each root element, "" for a root without one.
inline std::vector<std::string> rootNames(const nlohmann::json& output) {
  std::vector<std::string> names;
  for (const nlohmann::json& root : output.at("elements"))
    names.push_back(root.value("name", ""));
  return names;
}

}  // namespace tessary::driver_test
