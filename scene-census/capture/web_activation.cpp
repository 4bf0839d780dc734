#include "scene-census/capture/web_activation.h"

#include <array>

namespace tessary {

namespace {

constexpr std::string_view kManualAccessibility = "AXManualAccessibility";
constexpr std::string_view kEnhancedUserInterface = "AXEnhancedUserInterface";

constexpr std::array<std::string_view, 13> kObservedNotifications = {
    "AXFocusedUIElementChanged",
    "AXFocusedWindowChanged",
    "AXApplicationActivated",
    "AXApplicationDeactivated",
    "AXApplicationHidden",
    "AXApplicationShown",
    "AXWindowCreated",
    "AXWindowMoved",
    "AXWindowResized",
    "AXValueChanged",
    "AXTitleChanged",
    "AXSelectedChildrenChanged",
    "AXLayoutChanged",
};

}  // namespace

// Straight to the service, not through the reader: an application that is
// briefly busy refuses these writes with -25204 at once, and four such
// refusals counted as timeouts would leave the application for frozen before
// its windows are even asked for. One that the reader already gave up on is
// still left alone.
int32_t setBooleanAttribute(CaptureRunState& state, const AXElement& element,
                            std::string_view attribute, bool value) {
  if (state.reader.applicationFrozen()) return axerror::cannotComplete;
  return state.platform().accessibility.setAttributeValue(element, attribute, AXValue(value));
}

void activateAccessibilityForWebContent(CaptureRunState& state, int32_t pid,
                                        const AXElement& root) {
  state.platform().accessibility.setMessagingTimeout(root, kApplicationMessagingTimeoutSeconds);
  int32_t manual = setBooleanAttribute(state, root, kManualAccessibility, true);
  int32_t enhanced = setBooleanAttribute(state, root, kEnhancedUserInterface, true);
  if (manual != axerror::success && enhanced != axerror::success) return;
  registerAccessibilityObserver(state, pid, root);
  pumpRunLoopForAccessibilityActivation(state.platform().clock, kActivationRunLoopSeconds);
}

void requestExpandedSceneCensus(CaptureRunState& state, const AXElement& root) {
  int32_t manual = setBooleanAttribute(state, root, kManualAccessibility, true);
  int32_t enhanced = setBooleanAttribute(state, root, kEnhancedUserInterface, true);
  if (manual == axerror::success || enhanced == axerror::success) {
    state.platform().clock.sleepMicroseconds(kActivationSettleMicroseconds);
  }
}

void registerAccessibilityObserver(CaptureRunState& state, int32_t pid, const AXElement& root) {
  if (state.overlayAccessibilityObservers.count(pid)) return;
  Accessibility& accessibility = state.platform().accessibility;
  std::optional<AXObserverId> observer = accessibility.createObserver(pid);
  if (!observer) return;
  accessibility.addObserverToRunLoop(*observer);
  for (std::string_view notification : kObservedNotifications) {
    addObserverNotificationPreferRemote(state, *observer, root, notification);
  }
  state.overlayAccessibilityObservers.emplace(pid, *observer);
}

int32_t addObserverNotificationPreferRemote(CaptureRunState& state, AXObserverId observer,
                                            const AXElement& element,
                                            std::string_view notification) {
  return state.platform().accessibility.addNotification(observer, element, notification,
                                                        state.hasRemoteNotificationRegistration);
}

void pumpRunLoopForAccessibilityActivation(Clock& clock, double duration) {
  double now = clock.now();
  double deadline = now + duration;
  while (now < deadline) {
    clock.runRunLoop(deadline - now);
    double after = clock.now();
    // A clock that stands still would keep this loop turning forever.
    if (!(after > now)) break;
    now = after;
  }
}

}  // namespace tessary
