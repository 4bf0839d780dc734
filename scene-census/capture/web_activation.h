// Asking applications that render web content to expose their full
// accessibility tree before their windows are read: two attribute writes on
// the application element, an observer for the application, and a moment for
// the application to build the tree.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/accessibility.h"
#include "scene-census/capture/run_state.h"

namespace tessary {

inline constexpr float kApplicationMessagingTimeoutSeconds = 2.0f;
inline constexpr double kActivationRunLoopSeconds = 0.5;
inline constexpr uint64_t kActivationSettleMicroseconds = 150000;

void activateAccessibilityForWebContent(CaptureRunState& state, int32_t pid, const AXElement& root);
void requestExpandedSceneCensus(CaptureRunState& state, const AXElement& root);
void registerAccessibilityObserver(CaptureRunState& state, int32_t pid, const AXElement& root);
int32_t addObserverNotificationPreferRemote(CaptureRunState& state, AXObserverId observer,
                                            const AXElement& element,
                                            std::string_view notification);
// Turns the current run loop in the default mode until `duration` seconds have
// passed, so notifications delivered meanwhile reach the observer.
void pumpRunLoopForAccessibilityActivation(Clock& clock, double duration);
int32_t setBooleanAttribute(CaptureRunState& state, const AXElement& element,
                            std::string_view attribute, bool value);

}  // namespace tessary
