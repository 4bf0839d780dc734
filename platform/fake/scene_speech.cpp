// The scene's "speech" section: the simulated speech recognizer
// (docs/scene-format.md).
#include <cmath>

#include "platform/fake/scene_loader.h"

namespace tessary::fake {

using nlohmann::json;

namespace {
constexpr const char* kSpeechKeys =
    "authorization, unavailableLocales, supportsOnDevice, audioFormatFails, events";
constexpr const char* kEventKeys = "afterBytes, afterEnd, text, isFinal, error";
constexpr const char* kErrorKeys = "domain, code, description";

std::optional<int64_t> namedAuthorization(const std::string& name) {
  if (name == "notDetermined") return speechauthorization::notDetermined;
  if (name == "denied") return speechauthorization::denied;
  if (name == "restricted") return speechauthorization::restricted;
  if (name == "authorized") return speechauthorization::authorized;
  return std::nullopt;
}
}  // namespace

void SceneLoader::loadSpeech(const json& value) {
  expectObject(value, "the speech recognizer");
  SpeechScene& speech = state_.speechRecognizer.scene();
  for (const auto& [key, item] : value.items()) {
    PathScope scope(path_, key);
    if (key == "comment") {
      text(item);
    } else if (key == "authorization") {
      if (item.is_string()) {
        std::optional<int64_t> status = namedAuthorization(item.get<std::string>());
        if (!status) fail("must be notDetermined, denied, restricted, authorized or a number");
        speech.authorizationStatus = *status;
      } else {
        speech.authorizationStatus = integer(item);
      }
    } else if (key == "unavailableLocales") {
      if (!item.is_array()) fail("must be a list of locale identifiers");
      for (size_t i = 0; i < item.size(); ++i) {
        PathScope entry(path_, i);
        speech.unavailableLocales.insert(text(item[i]));
      }
    } else if (key == "supportsOnDevice") {
      speech.supportsOnDeviceRecognition = boolean(item);
    } else if (key == "audioFormatFails") {
      speech.audioFormatFails = boolean(item);
    } else if (key == "events") {
      if (!item.is_array()) fail("must be a list of recognition events");
      for (size_t i = 0; i < item.size(); ++i) {
        PathScope entry(path_, i);
        speech.events.push_back(loadRecognitionEvent(item[i]));
      }
    } else {
      failUnknownKey(key, kSpeechKeys);
    }
  }
}

ScriptedRecognitionEvent SceneLoader::loadRecognitionEvent(const json& object) {
  expectObject(object, "a recognition event");
  ScriptedRecognitionEvent event;
  std::optional<std::string> text;
  std::optional<bool> isFinal;
  for (const auto& [key, item] : object.items()) {
    PathScope scope(path_, key);
    if (key == "comment") {
      this->text(item);
    } else if (key == "afterBytes") {
      int64_t bytes = integer(item);
      if (bytes < 0) fail("must not be negative");
      event.afterBytes = static_cast<uint64_t>(bytes);
    } else if (key == "afterEnd") {
      double seconds = number(item);
      if (!std::isfinite(seconds) || seconds < 0) fail("must be a number of seconds, 0 or more");
      event.afterEndSeconds = seconds;
    } else if (key == "text") {
      text = this->text(item);
    } else if (key == "isFinal") {
      isFinal = boolean(item);
    } else if (key == "error") {
      expectObject(item, "an error with domain, code and description");
      SpeechRecognitionError error;
      for (const auto& [part, field] : item.items()) {
        PathScope inner(path_, part);
        if (part == "domain") {
          error.domain = this->text(field);
        } else if (part == "code") {
          error.code = integer(field);
        } else if (part == "description") {
          error.localizedDescription = this->text(field);
        } else {
          failUnknownKey(part, kErrorKeys);
        }
      }
      if (!item.contains("domain") || !item.contains("code")) fail("needs domain and code");
      event.error = std::move(error);
    } else {
      failUnknownKey(key, kEventKeys);
    }
  }
  if (event.afterBytes.has_value() == event.afterEndSeconds.has_value()) {
    fail("needs exactly one of afterBytes and afterEnd");
  }
  if (isFinal && !text) fail("isFinal needs a text");
  if (text) event.result = SpeechRecognitionResult{*text, isFinal.value_or(false)};
  if (!event.result && !event.error) fail("needs a text, an error or both");
  return event;
}

}  // namespace tessary::fake
