// The simulated desktop: an in-memory, deterministic desktop behind every
// platform interface, loaded from a JSON scene (docs/scene-format.md). It
// records every platform call so tests can assert what was (not) read, and it
// runs in virtual time.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/platform.h"

namespace tessary::fake {

struct SpeechRecording;
class FakeApplication;
class FakeCompositor;
class FakePasteboard;
class FakeTuningPanel;

// One platform call as the logic made it.
struct PlatformCall {
  std::string operation;  // e.g. "copyAttributeValue", "copyWindowInfo", "sleepMicroseconds"
  std::string element;    // scene id of the element the call was made on, or ""
  std::string detail;     // attribute, action or notification name, options, ...
};

class FakeDesktop : public PlatformBackend {
 public:
  // A desktop from scene text; on failure the reason (without the file name).
  static std::variant<std::unique_ptr<FakeDesktop>, std::string> fromSceneText(
      std::string_view sceneJson);
  // A desktop from a scene file; on failure one line naming the file and the
  // problem.
  static std::variant<std::unique_ptr<FakeDesktop>, std::string> fromSceneFile(
      const std::string& path);

  ~FakeDesktop() override;
  Platform& platform() override;

  // Calls made so far, in order. Recording can be switched off for
  // benchmarks; round trips are counted either way.
  const std::vector<PlatformCall>& calls() const;
  void clearCalls();
  void setRecording(bool on);
  // Accessibility calls that would be an IPC round trip on macOS (every call
  // on an element), since the start or the last clearCalls().
  uint64_t accessibilityRoundTrips() const;
  // Element references the answers carried across (each one is created,
  // retained and sent by the application on macOS), counted like round trips.
  uint64_t elementReferencesTransferred() const;

  // Current value of an element's attribute (after writes), or nothing.
  std::optional<AXValue> attributeValue(std::string_view elementId,
                                        std::string_view attribute) const;
  // A live handle of a scene element, for in-process tests.
  AXElement element(std::string_view elementId) const;
  // Virtual seconds elapsed since the desktop was created.
  double elapsedSeconds() const;
  // What the speech recognizer was given (platform/fake/speech_recording.h).
  const SpeechRecording& speechRecording() const;

  // The overlay's services, for in-process tests.
  FakeApplication& application();
  FakeCompositor& compositor();
  FakePasteboard& pasteboard();
  FakeTuningPanel& tuningPanel();

  struct State;

 private:
  explicit FakeDesktop(std::unique_ptr<State> state);
  std::unique_ptr<State> state_;
};

// Test helper: the desktop or a failed assertion's message thrown as
// std::runtime_error.
std::unique_ptr<FakeDesktop> loadSceneOrThrow(std::string_view sceneJson);
// The same for a scene file; the message names the file.
std::unique_ptr<FakeDesktop> loadSceneFileOrThrow(const std::string& path);

}  // namespace tessary::fake
