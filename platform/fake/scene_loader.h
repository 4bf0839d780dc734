// Builds the simulated desktop's state from a parsed scene
// (docs/scene-format.md). Every mistake in a scene stops the load with one
// message naming where it is.
#pragma once

#include <cstdint>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/fake/fake_input_state.h"
#include "platform/fake/fake_state.h"
#include "platform/fake/scene_json.h"

namespace tessary::fake {

struct SceneError {
  std::string message;
};

class SceneLoader {
 public:
  explicit SceneLoader(State& state) : state_(state) {}
  // Throws SceneError.
  void load(const nlohmann::json& scene);

 private:
  using json = nlohmann::json;

  // What a shorthand key accepts besides null and typed values.
  enum class Expect { text, boolean, anyValue, point, size, range, elementList, element };

  // scene_loader.cpp
  void loadApplications(const json& list);
  void loadApplication(const json& object, uint32_t app);
  void loadObservers(const json& value, ApplicationRecord& app);
  void loadSystemWide(const json& object);
  void finish();

  // scene_elements.cpp
  uint32_t loadElement(const json& object, std::optional<int32_t> inheritedPid,
                       std::optional<uint32_t> into = std::nullopt);
  void loadElementKey(uint32_t slot, const std::string& key, const json& value, bool systemWide);
  void setAttribute(uint32_t slot, std::string_view name, StoredAnswer answer);
  StoredAnswer loadShorthand(const json& value, Expect expect, uint32_t slot);
  StoredAnswer loadAnswer(const json& value, std::optional<uint32_t> container, uint32_t slot);
  AXValue loadValue(const json& value, std::optional<uint32_t> container, uint32_t slot);
  AXValue loadTypedValue(const json& object);
  AXElement refTo(const json& id);
  StoredAnswer loadErrorAnswer(const json& value, bool allowSuccess);
  void loadSettable(uint32_t slot, const json& value);
  void loadSetResults(uint32_t slot, const json& value);

  // scene_windows.cpp: the list at the start (`stage` -1) or of a stage of
  // the timeline.
  void loadWindowList(const json& value, int32_t stage = -1);
  void loadWindow(const json& object, WindowRecord& window, uint32_t windowNumber, int32_t stage,
                  size_t position);
  PlistValue plistValue(const json& value);

  // scene_host_views.cpp
  void loadHostViews(const json& value);
  // scene_speech.cpp
  void loadSpeech(const json& value);
  ScriptedRecognitionEvent loadRecognitionEvent(const json& object);
  // scene_input.cpp
  void loadInput(const json& value);
  void loadInputEntry(const json& object, InputSnapshot& snapshot);
  double inputCoordinate(const json& value) const;
  // scene_window_timeline.cpp
  void loadWindowTimeline(const json& value);
  // scene_overlay.cpp: the sections of the overlay's services; false for
  // any other key.
  bool loadOverlaySection(const std::string& key, const json& value);

  // Checks and conversions; each fails with a message at the current path.
  [[noreturn]] void fail(const std::string& problem) const;
  // Loading recurses with the scene's nesting; past this many path segments
  // a scene is refused rather than let run the stack out.
  void checkDepth() const;
  // Called inside the scope of the key: the message names the object that
  // holds it, and the keys it takes when `known` is given.
  [[noreturn]] void failUnknownKey(const std::string& key, const char* known = nullptr) const;
  void expectObject(const json& value, const char* what) const;
  std::string text(const json& value) const;
  bool boolean(const json& value) const;
  double number(const json& value) const;
  int64_t integer(const json& value) const;
  int32_t int32(const json& value) const;
  std::vector<double> numbers(const json& value, size_t count) const;
  Rect rect(const json& value) const;
  AXRange range(const json& value) const;
  bool isTypedValue(const json& value) const;

  State& state_;
  mutable ScenePath path_;
  // Ids referred to before (or without) being defined, with where the first
  // reference is.
  std::map<uint32_t, std::string> forwardRefs_;
  std::unordered_set<uint32_t> explicitHashes_;
  struct WindowLink {
    int32_t stage;  // -1: the list at the start
    size_t window;
    std::string element;
    std::string where;
  };
  std::vector<WindowLink> windowLinks_;
  std::optional<int32_t> frontmostPid_;
  std::string frontmostPath_;
};

}  // namespace tessary::fake
