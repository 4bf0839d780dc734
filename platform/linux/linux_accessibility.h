// Accessibility over AT-SPI2. Each application's objects are read in bulk the
// first time one of them is asked about (its cache in one call, then every
// object's extents, text, value and identifier in one pipelined batch) and
// answered from that snapshot for the rest of the run; applications without
// the cache are read object by object, each object's facts in one batch.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/accessibility.h"
#include "platform/linux/atspi_calls.h"
#include "platform/linux/atspi_item.h"
#include "platform/linux/dbus_connection.h"
#include "platform/linux/desktop_windows.h"

namespace tessary::linuxdesktop {

class LinuxAccessibility final : public Accessibility {
 public:
  // `accessibilityBus` may be null (no accessibility bus): then nothing is
  // trusted and every call fails. `sessionBus` carries the bus's enable switch.
  LinuxAccessibility(std::unique_ptr<DBusConnection> accessibilityBus,
                     std::unique_ptr<DBusConnection> sessionBus, DesktopWindows& windows);
  ~LinuxAccessibility() override;

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

  // D-Bus calls made on the accessibility bus so far, and the objects the
  // snapshots hold (for the benchmark).
  uint64_t callsSent() const;
  std::map<std::string, uint64_t> callsByMember() const;
  size_t objectsRead() const;

  struct RegisteredApplication {
    std::string bus;
    int32_t pid = 0;
  };
  // The applications in the registry, read once per run.
  const std::vector<RegisteredApplication>& registeredApplications();

 private:
  struct Application;
  Application* application(const std::string& bus);
  void loadSnapshot(Application& app);
  AtspiItem* item(const AtspiRef& ref);
  enum class ReadDepth { full, geometryForLongLists };
  void readObjects(Application& app, const std::vector<AtspiRef>& refs, ReadDepth depth);
  AtspiItem* completeItem(const AtspiRef& ref);
  AtspiItem* detailedItem(const AtspiRef& ref);
  void readShownTree(Application& app);
  // Facts of objects read one call each, sent together: `addDetails` puts in
  // the extents, value, text, identifier and (where the cache does not add
  // up) children of a cached object.
  struct FillBatch {
    std::vector<DBusCall> calls;
    std::vector<std::pair<AtspiItem*, ItemFill>> fills;
    void add(AtspiItem& item, ItemFill fill);
    void addDetails(AtspiItem& item, const Application& app);
    void apply(std::vector<DBusReply>& replies, size_t first);
  };
  void readText(AtspiItem& item);
  std::vector<AtspiRef> childrenOf(Application& app, const AtspiItem& item);
  AXElement elementFor(const AtspiRef& ref);
  AXResult objectAttribute(const AtspiRef& ref, std::string_view attribute);
  AXResult focusedElement(std::optional<int32_t> pid);
  std::optional<AtspiRef> shownChildAt(const AtspiRef& ref, double x, double y);
  AXResult selectedText(AtspiItem& item, bool rangeOnly);
  std::optional<std::string> busOfPid(int32_t pid);
  std::optional<int32_t> pidOfBus(const std::string& bus);
  uint64_t timeoutFor(const std::string& bus) const;
  int32_t enableAccessibilitySwitch();
  static DBusCall eventListenerCall();
  void registerEventListener();

  std::unique_ptr<DBusConnection> bus_;
  std::unique_ptr<DBusConnection> session_;
  DesktopWindows& windows_;
  std::optional<std::vector<RegisteredApplication>> registered_;
  std::map<std::string, std::unique_ptr<Application>> applications_;
  std::map<std::string, int32_t> pidOfBus_;
  uint64_t defaultTimeout_;
  bool listenerRegistered_ = false;
  bool switchSeenOn_ = false;
};

}  // namespace tessary::linuxdesktop
