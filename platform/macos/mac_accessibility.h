// Accessibility over HIServices' AXUIElement and AXObserver calls.
#pragma once

#include <map>
#include <memory>

#include "platform/accessibility.h"

namespace tessary::macos {

class MacAccessibility : public Accessibility {
 public:
  MacAccessibility();
  ~MacAccessibility() override;
  MacAccessibility(const MacAccessibility&) = delete;
  MacAccessibility& operator=(const MacAccessibility&) = delete;

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
  // CFStrings of attribute, action and notification names, and the name
  // arrays of batch reads, made once and kept for the backend's lifetime.
  struct NameCache;
  std::unique_ptr<NameCache> names_;
  // The address of AXObserverAddNotificationAndCheckRemote when found.
  void* remoteRegistration_ = nullptr;
  // Retained AXObserverRefs by id; released with the backend at exit.
  std::map<AXObserverId, const void*> observers_;
  AXObserverId nextObserverId_ = 1;
};

}  // namespace tessary::macos
