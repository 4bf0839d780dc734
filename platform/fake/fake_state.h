// The inside of the simulated desktop: its data and the platform services
// that answer from it. Only platform/fake/ sees this header.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "platform/fake/call_recorder.h"
#include "platform/fake/element_store.h"
#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_host_windows.h"
#include "platform/fake/fake_input_state.h"
#include "platform/fake/fake_speech.h"
#include "platform/fake/host_view_state.h"
#include "platform/fake/window_list_changes.h"

namespace tessary::fake {

// What a call waits before it gives up on an application that does not
// answer, unless a messaging timeout was set (the platform's default).
inline constexpr double kDefaultMessagingTimeoutSeconds = 6.0;
// CFAbsoluteTime of the simulated start: a fixed moment, so runs repeat.
inline constexpr double kVirtualStartTime = 794880000.0;

struct ApplicationRecord {
  int32_t pid = 0;
  std::optional<std::string> name;
  std::optional<std::string> bundleIdentifier;
  std::optional<std::string> bundlePath;
  bool running = true;
  uint32_t element = 0;  // the application's accessibility element
  std::optional<uint64_t> freezeAfterCalls;
  uint64_t calls = 0;  // round trips made to this application so far
  int32_t observerCreateResult = axerror::success;
  int32_t notificationResult = axerror::success;
  std::map<std::string, int32_t, std::less<>> notificationResults;
  std::optional<StoredAnswer> elementAtPositionError;

  bool frozen() const { return freezeAfterCalls && calls >= *freezeAfterCalls; }
};

struct WindowRecord {
  PlistDict entry;  // exactly what copyWindowInfo hands out
  uint32_t number = 0;
  bool onScreen = true;
  bool desktopElement = false;
  bool clickThrough = false;
  int32_t element = -1;  // the accessibility window it shows, when linked
};

struct ObserverRecord {
  int32_t pid = 0;
  std::set<std::pair<uint32_t, std::string>, std::less<>> registrations;
};

using State = FakeDesktop::State;

class FakeAccessibility : public Accessibility {
 public:
  explicit FakeAccessibility(State& state) : state_(state) {}

  bool isProcessTrusted() override;
  AXElement applicationElement(int32_t pid) override;
  AXElement systemWideElement() override;
  AXResult copyAttributeValue(const AXElement& element, std::string_view attribute) override;
  AXResult copyAttributeValues(const AXElement& element, std::string_view attribute, int64_t index,
                               int64_t maxCount) override;
  std::vector<AXResult> copyMultipleAttributeValues(
      const AXElement& element, std::span<const std::string_view> attributes) override;
  AXResult copyParameterizedAttributeValue(const AXElement& element, std::string_view attribute,
                                           const AXValue& parameter) override;
  AXResult isAttributeSettable(const AXElement& element, std::string_view attribute) override;
  int32_t setAttributeValue(const AXElement& element, std::string_view attribute,
                            const AXValue& value) override;
  int32_t performAction(const AXElement& element, std::string_view action) override;
  AXResult elementAtPosition(const AXElement& root, float x, float y) override;
  std::optional<int32_t> processIdentifier(const AXElement& element) override;
  int32_t setMessagingTimeout(const AXElement& element, float seconds) override;
  bool lookUpRemoteNotificationRegistration() override;
  std::optional<AXObserverId> createObserver(int32_t pid) override;
  void addObserverToRunLoop(AXObserverId observer) override;
  int32_t addNotification(AXObserverId observer, const AXElement& element,
                          std::string_view notification, bool useRemote) override;

 private:
  // Records the call and counts the round trip. Returns an error when the
  // call does not reach an answering application: a null or foreign handle,
  // a process that is gone, or a frozen application (which also lets the
  // messaging timeout pass).
  template <typename DetailFn>
  std::optional<int32_t> reach(const AXElement& element, std::string_view operation,
                               DetailFn&& detail, uint32_t& index);
  // The answer of a stored attribute as a call result; a timeout lets the
  // element's messaging timeout pass.
  AXResult answer(uint32_t index, const StoredAnswer* stored);
  void letTimeoutPass(uint32_t index);
  std::string_view idOf(const AXElement& element) const;

  State& state_;
};

class FakeWindowServer : public WindowServer {
 public:
  explicit FakeWindowServer(State& state) : state_(state) {}
  std::optional<PlistArray> copyWindowInfo(uint32_t options, uint32_t relativeToWindow) override;

 private:
  State& state_;
};

class FakeScreens : public Screens {
 public:
  explicit FakeScreens(State& state) : state_(state) {}
  std::optional<Rect> mainScreenFrame() override;

 private:
  State& state_;
};

class FakeWorkspace : public Workspace {
 public:
  explicit FakeWorkspace(State& state) : state_(state) {}
  std::vector<RunningApplication> runningApplications() override;
  std::optional<RunningApplication> frontmostApplication() override;
  // fake_activation.cpp
  std::optional<RunningApplication> runningApplication(int32_t pid) override;
  bool activateApplication(int32_t pid, uint32_t options) override;

 private:
  State& state_;
};

class FakeClock : public Clock {
 public:
  explicit FakeClock(State& state) : state_(state) {}
  double now() override;
  void sleepMicroseconds(uint64_t microseconds) override;
  void runRunLoop(double seconds) override;

 private:
  State& state_;
};

struct FakeDesktop::State {
  State();
  State(const State&) = delete;
  State& operator=(const State&) = delete;

  ElementStore elements;
  std::vector<ApplicationRecord> applications;
  std::unordered_map<int32_t, uint32_t> applicationByPid;
  // Application elements handed out for processes the scene does not have.
  std::unordered_map<int32_t, uint32_t> absentApplicationElements;
  uint32_t systemWide = 0;

  std::vector<WindowRecord> windows;  // front to back
  bool windowListFails = false;
  WindowListChanges windowListChanges;  // window_list_changes.h
  std::optional<Rect> mainScreen;
  std::vector<Rect> screens;
  std::optional<Point> pointer;
  std::optional<int32_t> frontmostApplication;

  bool trusted = true;
  bool remoteRegistrationAvailable = true;
  bool remoteRegistrationLookedUp = false;
  float globalMessagingTimeout = 0;  // set through the system-wide element
  std::vector<ObserverRecord> observers;

  double elapsed = 0;     // virtual seconds since the start
  bool realTime = false;  // waits also pass in real time
  InputTimeline inputTimeline;
  CallRecorder recorder;
  HostViewState hostViews;

  FakeAccessibility accessibility;
  FakeWindowServer windowServer;
  FakeScreens screensService;
  FakeWorkspace workspace;
  FakeClock clock;
  FakeHostWindows hostWindows;
  FakeSpeechRecognizer speechRecognizer;
  FakeInputState inputState;
  Platform platform;

  const ApplicationRecord* applicationOf(uint32_t element) const;
  ApplicationRecord* applicationOf(uint32_t element);
  const ApplicationRecord* application(int32_t pid) const;
  double messagingTimeoutOf(uint32_t element) const;
  void advance(double seconds);
};

}  // namespace tessary::fake
