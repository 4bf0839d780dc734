// Runs hit-probe in process on a scene of hit-probe/tests/scenes and keeps the
// desktop for questions about what the probe did.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "common/stable_identifier.h"
#include "hit-probe/hit_probe.h"
#include "platform/fake/fake_desktop.h"
#include "testsupport/paths.h"

namespace tessary::hitprobe::testing {

struct ProbeRun {
  int status = -1;
  std::string out, err;
  std::unique_ptr<fake::FakeDesktop> desktop;
};

inline std::string scenePath(const std::string& scene) {
  return tessary::testing::sourcePath("hit-probe/tests/scenes/" + scene);
}

inline std::unique_ptr<fake::FakeDesktop> loadScene(const std::string& scene) {
  auto loaded = fake::FakeDesktop::fromSceneFile(scenePath(scene));
  if (auto* problem = std::get_if<std::string>(&loaded)) {
    ADD_FAILURE() << *problem;
    return nullptr;
  }
  return std::move(std::get<std::unique_ptr<fake::FakeDesktop>>(loaded));
}

inline ProbeRun runProbe(const std::string& scene, std::vector<std::string> arguments,
                         Environment environment = {}) {
  ProbeRun run;
  run.desktop = loadScene(scene);
  if (!run.desktop) return run;
  std::ostringstream out, err;
  ProgramContext context{std::move(arguments), std::move(environment), out, err,
                         run.desktop->platform()};
  run.status = runHitProbe(context);
  run.out = out.str();
  run.err = err.str();
  return run;
}

// The identifier of a hashed key, written out by hand in a test so that the
// key the probe builds from live attributes is checked, not just repeated.
inline std::string identifierOfKey(std::string_view key) {
  return "e" + toBase36(fnv1a64(key));
}

// A text "key:<key>" stands for identifierOfKey(<key>), anywhere in `value`.
inline void resolveKeys(nlohmann::json& value) {
  if (value.is_string()) {
    const std::string& text = value.get_ref<const std::string&>();
    if (text.rfind("key:", 0) == 0) value = identifierOfKey(text.substr(4));
  } else if (value.is_structured()) {
    for (nlohmann::json& item : value)
      resolveKeys(item);
  }
}

inline std::string resolveKey(const std::string& text) {
  nlohmann::json value = text;
  resolveKeys(value);
  return value.get<std::string>();
}

// The printed line as JSON; a failure when it is not exactly one line of it.
inline nlohmann::json parseReportLine(const std::string& out) {
  EXPECT_FALSE(out.empty());
  EXPECT_EQ(out.find('\n'), out.size() - 1) << "not exactly one line: " << out;
  nlohmann::json parsed = nlohmann::json::parse(out, nullptr, /*allow_exceptions=*/false);
  EXPECT_TRUE(parsed.is_object()) << "not a JSON object: " << out;
  return parsed;
}

}  // namespace tessary::hitprobe::testing
