// The scene's "windowTimeline": window lists that take over at given moments
// of virtual time.
#include "platform/fake/scene_loader.h"

namespace tessary::fake {

using nlohmann::json;

void SceneLoader::loadWindowTimeline(const json& value) {
  if (!value.is_array()) {
    fail("must be a list of {\"at\": seconds, \"windowList\": [...]}, in the order they happen");
  }
  std::vector<WindowStage>& stages = state_.windowListChanges.stages;
  stages.reserve(value.size());
  for (size_t i = 0; i < value.size(); ++i) {
    PathScope item(path_, i);
    expectObject(value[i], "a stage {\"at\": seconds, \"windowList\": [...]}");
    const json& stage = value[i];
    for (const auto& [key, member] : stage.items()) {
      PathScope scope(path_, key);
      if (key == "comment") {
        text(member);
      } else if (key != "at" && key != "windowList") {
        failUnknownKey(key, "at, windowList, comment");
      }
    }
    if (!stage.contains("at")) fail("a stage needs \"at\" (virtual seconds since the start)");
    if (!stage.contains("windowList")) fail("a stage needs its \"windowList\"");
    double at;
    {
      PathScope scope(path_, "at");
      at = number(stage["at"]);
      if (!(at > 0)) fail("must be after the start (more than 0 seconds)");
      if (!stages.empty() && !(at > stages.back().at)) {
        fail("must be later than the stage before it");
      }
    }
    stages.push_back(WindowStage{at, {}, false});
    PathScope scope(path_, "windowList");
    loadWindowList(stage["windowList"], static_cast<int32_t>(stages.size() - 1));
  }
}

}  // namespace tessary::fake
