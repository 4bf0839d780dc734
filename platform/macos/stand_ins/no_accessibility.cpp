// A desktop on which the program may not use accessibility: the process is
// not trusted and every call fails as the platform fails it then
// (kAXErrorAPIDisabled).
#include "platform/macos/service_kits.h"

namespace tessary::macos {

namespace {

class NoAccessibility : public Accessibility {
 public:
  bool isProcessTrusted() override { return false; }
  AXElement applicationElement(int32_t) override { return AXElement(); }
  AXElement systemWideElement() override { return AXElement(); }
  AXResult copyAttributeValue(const AXElement&, std::string_view) override { return disabled(); }
  AXResult copyAttributeValues(const AXElement&, std::string_view, int64_t, int64_t) override {
    return disabled();
  }
  std::vector<AXResult> copyMultipleAttributeValues(
      const AXElement&, std::span<const std::string_view> attributes) override {
    return std::vector<AXResult>(attributes.size(), disabled());
  }
  AXResult copyParameterizedAttributeValue(const AXElement&, std::string_view,
                                           const AXValue&) override {
    return disabled();
  }
  AXResult isAttributeSettable(const AXElement&, std::string_view) override { return disabled(); }
  int32_t setAttributeValue(const AXElement&, std::string_view, const AXValue&) override {
    return axerror::apiDisabled;
  }
  int32_t performAction(const AXElement&, std::string_view) override {
    return axerror::apiDisabled;
  }
  AXResult elementAtPosition(const AXElement&, float, float) override { return disabled(); }
  std::optional<int32_t> processIdentifier(const AXElement&) override { return std::nullopt; }
  int32_t setMessagingTimeout(const AXElement&, float) override { return axerror::apiDisabled; }
  bool lookUpRemoteNotificationRegistration() override { return false; }
  std::optional<AXObserverId> createObserver(int32_t) override { return std::nullopt; }
  void addObserverToRunLoop(AXObserverId) override {}
  int32_t addNotification(AXObserverId, const AXElement&, std::string_view, bool) override {
    return axerror::apiDisabled;
  }

 private:
  static AXResult disabled() { return AXResult::failed(axerror::apiDisabled); }
};

}  // namespace

std::unique_ptr<Accessibility> makeAccessibility() {
  return std::make_unique<NoAccessibility>();
}

}  // namespace tessary::macos
