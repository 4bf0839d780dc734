// The scene sections of the overlay's services: "application",
// "compositor", "pasteboard" and "random".
#include <cmath>

#include "platform/fake/scene_loader.h"

namespace tessary::fake {

using nlohmann::json;

bool SceneLoader::loadOverlaySection(const std::string& key, const json& value) {
  if (key == "application") {
    expectObject(value, "an object with inputInterval");
    for (const auto& [name, item] : value.items()) {
      PathScope scope(path_, name);
      if (name != "inputInterval") failUnknownKey(name, "inputInterval");
      if (item.is_null()) {
        state_.backgroundApplication.inputInterval.reset();
        continue;
      }
      const double seconds = number(item);
      if (!std::isfinite(seconds) || seconds < 0) fail("must be a number of seconds, 0 or more");
      state_.backgroundApplication.inputInterval = seconds;
    }
    return true;
  }
  if (key == "compositor") {
    expectObject(value, "an object with backingScaleFactor");
    for (const auto& [name, item] : value.items()) {
      PathScope scope(path_, name);
      if (name != "backingScaleFactor") failUnknownKey(name, "backingScaleFactor");
      const double scale = number(item);
      if (!std::isfinite(scale) || scale <= 0 || scale > 16) fail("must be a number in (0, 16]");
      state_.compositor.scaleFactor = scale;
    }
    return true;
  }
  if (key == "pasteboard") {
    expectObject(value, "an object with refusesStrings");
    for (const auto& [name, item] : value.items()) {
      PathScope scope(path_, name);
      if (name != "refusesStrings") failUnknownKey(name, "refusesStrings");
      state_.pasteboard.refusesStrings = boolean(item);
    }
    return true;
  }
  if (key == "random") {
    expectObject(value, "an object with seed");
    for (const auto& [name, item] : value.items()) {
      PathScope scope(path_, name);
      if (name != "seed") failUnknownKey(name, "seed");
      state_.random.seed = static_cast<uint64_t>(integer(item));
    }
    return true;
  }
  return false;
}

}  // namespace tessary::fake
