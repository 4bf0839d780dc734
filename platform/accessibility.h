// The accessibility service, one method per platform operation the programs
// use (HIServices' AXUIElement and AXObserver calls). On macOS every call on an
// element is an IPC round trip into the element's application.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ax_value.h"

namespace tessary {

using AXObserverId = uint64_t;

class Accessibility {
 public:
  virtual ~Accessibility() = default;

  // AXIsProcessTrusted.
  virtual bool isProcessTrusted() = 0;
  // AXUIElementCreateApplication / AXUIElementCreateSystemWide.
  virtual AXElement applicationElement(int32_t pid) = 0;
  virtual AXElement systemWideElement() = 0;

  // AXUIElementCopyAttributeValue.
  virtual AXResult copyAttributeValue(const AXElement& element, std::string_view attribute) = 0;
  // AXUIElementCopyAttributeValues: a slice of an array attribute.
  virtual AXResult copyAttributeValues(const AXElement& element, std::string_view attribute,
                                       int64_t index, int64_t maxCount) = 0;
  // AXUIElementCopyMultipleAttributeValues without stop-on-error: one round
  // trip, one independent answer per attribute, in order.
  virtual std::vector<AXResult> copyMultipleAttributeValues(
      const AXElement& element, std::span<const std::string_view> attributes) = 0;
  // AXUIElementCopyParameterizedAttributeValue.
  virtual AXResult copyParameterizedAttributeValue(const AXElement& element,
                                                   std::string_view attribute,
                                                   const AXValue& parameter) = 0;
  // AXUIElementIsAttributeSettable: the answer is a boolean value.
  virtual AXResult isAttributeSettable(const AXElement& element, std::string_view attribute) = 0;
  // AXUIElementSetAttributeValue; returns the error code.
  virtual int32_t setAttributeValue(const AXElement& element, std::string_view attribute,
                                    const AXValue& value) = 0;
  // AXUIElementPerformAction.
  virtual int32_t performAction(const AXElement& element, std::string_view action) = 0;
  // AXUIElementCopyElementAtPosition; the answer is an element value.
  virtual AXResult elementAtPosition(const AXElement& root, float x, float y) = 0;
  // AXUIElementGetPid; nothing when it fails.
  virtual std::optional<int32_t> processIdentifier(const AXElement& element) = 0;
  // AXUIElementSetMessagingTimeout.
  virtual int32_t setMessagingTimeout(const AXElement& element, float seconds) = 0;

  // Looks up the private "AXObserverAddNotificationAndCheckRemote" by name in
  // the process's global symbol namespace; true when it exists. Called once at
  // start; later registrations may then ask for it.
  virtual bool lookUpRemoteNotificationRegistration() = 0;
  // AXObserverCreateWithInfoCallback with a callback that does nothing;
  // nothing on error. Observers live until the process ends.
  virtual std::optional<AXObserverId> createObserver(int32_t pid) = 0;
  // AXObserverGetRunLoopSource + CFRunLoopAddSource on the current run loop,
  // default mode.
  virtual void addObserverToRunLoop(AXObserverId observer) = 0;
  // AXObserverAddNotification, or the private variant when `useRemote` is set
  // and the lookup found it.
  virtual int32_t addNotification(AXObserverId observer, const AXElement& element,
                                  std::string_view notification, bool useRemote) = 0;
};

}  // namespace tessary
