#include "platform/fake/fake_desktop.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/fake/fake_state.h"
#include "platform/fake/scene_json.h"
#include "platform/fake/scene_loader.h"

namespace tessary::fake {

FakeDesktop::State::State()
    : accessibility(*this),
      windowServer(*this),
      screensService(*this),
      workspace(*this),
      clock(*this),
      hostWindows(*this),
      speechRecognizer(*this),
      inputState(*this),
      backgroundApplication(*this),
      compositor(*this),
      pasteboard(*this),
      random(*this),
      tuningPanel(*this),
      platform{accessibility,    windowServer, screensService,
               workspace,        clock,        hostWindows,
               speechRecognizer, inputState,   backgroundApplication,
               compositor,       pasteboard,   random,
               tuningPanel} {
  systemWide = elements.add();
  elements.setId(systemWide, "systemWide");
  elements.at(systemWide).defined = true;
}

const ApplicationRecord* FakeDesktop::State::applicationOf(uint32_t element) const {
  const int32_t app = elements.at(element).application;
  return app >= 0 ? &applications[static_cast<size_t>(app)] : nullptr;
}

ApplicationRecord* FakeDesktop::State::applicationOf(uint32_t element) {
  const int32_t app = elements.at(element).application;
  return app >= 0 ? &applications[static_cast<size_t>(app)] : nullptr;
}

const ApplicationRecord* FakeDesktop::State::application(int32_t pid) const {
  auto it = applicationByPid.find(pid);
  return it == applicationByPid.end() ? nullptr : &applications[it->second];
}

double FakeDesktop::State::messagingTimeoutOf(uint32_t element) const {
  if (float own = elements.at(element).messagingTimeout; own > 0) return own;
  if (globalMessagingTimeout > 0) return globalMessagingTimeout;
  return kDefaultMessagingTimeoutSeconds;
}

void FakeDesktop::State::advance(double seconds) {
  const double target = elapsed + seconds;
  speechRecognizer.runUntil(target);
  elapsed = target;
  catchUpWithWindowTimeline(*this);
}

FakeDesktop::FakeDesktop(std::unique_ptr<State> state) : state_(std::move(state)) {}
FakeDesktop::~FakeDesktop() = default;

std::variant<std::unique_ptr<FakeDesktop>, std::string> FakeDesktop::fromSceneText(
    std::string_view sceneJson) {
  std::variant<nlohmann::json, std::string> parsed = parseSceneJson(sceneJson);
  if (auto* problem = std::get_if<std::string>(&parsed)) return *problem;
  auto state = std::make_unique<State>();
  try {
    SceneLoader(*state).load(std::get<nlohmann::json>(parsed));
  } catch (const SceneError& error) {
    return error.message;
  }
  return std::unique_ptr<FakeDesktop>(new FakeDesktop(std::move(state)));
}

std::variant<std::unique_ptr<FakeDesktop>, std::string> FakeDesktop::fromSceneFile(
    const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return path + ": cannot read the scene file (" + std::strerror(errno) + ")";
  std::ostringstream text;
  text << file.rdbuf();
  if (file.bad()) return path + ": cannot read the scene file";
  auto desktop = fromSceneText(text.str());
  if (auto* problem = std::get_if<std::string>(&desktop)) return path + ": " + *problem;
  return desktop;
}

Platform& FakeDesktop::platform() {
  return state_->platform;
}

const std::vector<PlatformCall>& FakeDesktop::calls() const {
  return state_->recorder.calls();
}
void FakeDesktop::clearCalls() {
  state_->recorder.clear();
}
void FakeDesktop::setRecording(bool on) {
  state_->recorder.setRecording(on);
}
uint64_t FakeDesktop::accessibilityRoundTrips() const {
  return state_->recorder.roundTrips();
}
uint64_t FakeDesktop::elementReferencesTransferred() const {
  return state_->recorder.elementReferences();
}

std::optional<AXValue> FakeDesktop::attributeValue(std::string_view elementId,
                                                   std::string_view attribute) const {
  std::optional<uint32_t> index = state_->elements.byId(elementId);
  if (!index) return std::nullopt;
  const StoredAnswer* answer = state_->elements.find(*index, attribute);
  if (!answer || answer->kind != StoredAnswer::Kind::value) return std::nullopt;
  return answer->value;
}

AXElement FakeDesktop::element(std::string_view elementId) const {
  std::optional<uint32_t> index = state_->elements.byId(elementId);
  return index ? state_->elements.handle(*index) : AXElement();
}

double FakeDesktop::elapsedSeconds() const {
  return state_->elapsed;
}

const SpeechRecording& FakeDesktop::speechRecording() const {
  return state_->speechRecognizer.recording();
}

FakeApplication& FakeDesktop::application() {
  return state_->backgroundApplication;
}
FakeCompositor& FakeDesktop::compositor() {
  return state_->compositor;
}
FakePasteboard& FakeDesktop::pasteboard() {
  return state_->pasteboard;
}
FakeTuningPanel& FakeDesktop::tuningPanel() {
  return state_->tuningPanel;
}

std::unique_ptr<FakeDesktop> loadSceneOrThrow(std::string_view sceneJson) {
  auto desktop = FakeDesktop::fromSceneText(sceneJson);
  if (auto* problem = std::get_if<std::string>(&desktop)) throw std::runtime_error(*problem);
  return std::move(std::get<std::unique_ptr<FakeDesktop>>(desktop));
}

std::unique_ptr<FakeDesktop> loadSceneFileOrThrow(const std::string& path) {
  auto desktop = FakeDesktop::fromSceneFile(path);
  if (auto* problem = std::get_if<std::string>(&desktop)) throw std::runtime_error(*problem);
  return std::move(std::get<std::unique_ptr<FakeDesktop>>(desktop));
}

}  // namespace tessary::fake
