// A small accessibility service for element-model tests: elements with
// scripted attribute answers (values, errors, wrong kinds), element identity
// and hashes, and a count of round trips. The simulated desktop covers whole
// scenes; this one lets a test state one odd answer exactly.
#pragma once

#include <algorithm>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "platform/accessibility.h"

namespace tessary::testing {

class ScriptedAccessibility : public Accessibility {
 public:
  struct Node;
  // What a handle's native reference points at.
  struct Handle {
    const Node* node;
  };
  static const Node* nodeBehind(const AXElement& element) {
    return static_cast<const Handle*>(element.native())->node;
  }
  static AXElement handleOf(const Node& node) {
    return AXElement(std::make_shared<const Handle>(Handle{&node}), node.hash);
  }

  struct Node {
    std::string id;
    uint64_t hash = 0;
    std::map<std::string, AXResult, std::less<>> attributes;

    Node& set(std::string attribute, AXValue value) {
      attributes[std::move(attribute)] = AXResult::of(std::move(value));
      return *this;
    }
    Node& fail(std::string attribute, int32_t error) {
      attributes[std::move(attribute)] = AXResult::failed(error);
      return *this;
    }
    Node& role(std::string role) { return set("AXRole", std::move(role)); }
    Node& title(std::string title) { return set("AXTitle", std::move(title)); }
    Node& frame(double x, double y, double w, double h) {
      set("AXPosition", AXPoint{x, y});
      return set("AXSize", AXSize{w, h});
    }
  };

  struct Call {
    std::string operation;
    std::string element;
    std::string attributes;  // comma-joined
  };

  // The element named `id`, created on first use; its hash defaults to its
  // creation number so every element is distinct unless a test says
  // otherwise.
  Node& add(const std::string& id) { return node(id); }
  Node& node(std::string_view id) {
    auto it = byId_.find(id);
    if (it != byId_.end()) return *it->second;
    Node& node = nodes_.emplace_back();
    node.id = std::string(id);
    node.hash = 1000 + nodes_.size();
    byId_.emplace(node.id, &node);
    return node;
  }

  // A live handle. Like the macOS backend, every handle is a reference of
  // its own: two handles of one element share the hash, not the pointer.
  AXElement element(std::string_view id) { return handleOf(node(id)); }
  // A list value of element handles.
  AXValue elements(std::initializer_list<std::string_view> ids) {
    AXValueList list;
    for (std::string_view id : ids)
      list.emplace_back(element(id));
    return AXValue(std::move(list));
  }
  AXValue elements(const std::vector<std::string>& ids) {
    AXValueList list;
    for (const std::string& id : ids)
      list.emplace_back(element(id));
    return AXValue(std::move(list));
  }

  // Every call from now on fails with the messaging timeout.
  void freeze() { frozen_ = true; }
  // The application stops answering after this many more round trips, and
  // answers again after that many.
  void freezeAfterRoundTrips(uint64_t count) { freezeAt_ = roundTrips_ + count; }
  void thawAfterRoundTrips(uint64_t count) { thawAt_ = roundTrips_ + count; }

  // The scene id of a live handle.
  std::string idOf(const AXElement& element) const { return nodeBehind(element)->id; }

  uint64_t roundTrips() const { return roundTrips_; }
  const std::vector<Call>& calls() const { return calls_; }
  void clearCalls() {
    calls_.clear();
    roundTrips_ = 0;
  }
  // Calls made on one element.
  size_t callsOn(std::string_view id) const {
    return static_cast<size_t>(std::count_if(calls_.begin(), calls_.end(),
                                             [&](const Call& c) { return c.element == id; }));
  }

  bool isProcessTrusted() override { return true; }
  AXElement applicationElement(int32_t) override { return element("application"); }
  AXElement systemWideElement() override { return element("system-wide"); }

  AXResult copyAttributeValue(const AXElement& element, std::string_view attribute) override {
    record("copyAttributeValue", element, std::string(attribute));
    return answer(element, attribute);
  }

  AXResult copyAttributeValues(const AXElement& element, std::string_view attribute, int64_t index,
                               int64_t maxCount) override {
    record("copyAttributeValues", element, std::string(attribute));
    AXResult full = answer(element, attribute);
    if (!full.get()) return full;
    const AXValueList* items = full.value->list();
    if (!items) return AXResult::failed(axerror::illegalArgument);
    size_t from = std::min(items->size(), static_cast<size_t>(index));
    size_t to = std::min(items->size(), from + static_cast<size_t>(maxCount));
    return AXResult::of(AXValueList(items->begin() + static_cast<ptrdiff_t>(from),
                                    items->begin() + static_cast<ptrdiff_t>(to)));
  }

  std::vector<AXResult> copyMultipleAttributeValues(
      const AXElement& element, std::span<const std::string_view> attributes) override {
    std::string joined;
    for (std::string_view attribute : attributes) {
      if (!joined.empty()) joined += ',';
      joined += attribute;
    }
    record("copyMultipleAttributeValues", element, joined);
    std::vector<AXResult> results;
    for (std::string_view attribute : attributes)
      results.push_back(answer(element, attribute));
    return results;
  }

  AXResult copyParameterizedAttributeValue(const AXElement& element, std::string_view attribute,
                                           const AXValue&) override {
    record("copyParameterizedAttributeValue", element, std::string(attribute));
    return AXResult::failed(axerror::parameterizedAttributeUnsupported);
  }
  AXResult isAttributeSettable(const AXElement& element, std::string_view attribute) override {
    record("isAttributeSettable", element, std::string(attribute));
    return AXResult::of(false);
  }
  int32_t setAttributeValue(const AXElement& element, std::string_view attribute,
                            const AXValue& value) override {
    record("setAttributeValue", element, std::string(attribute));
    if (frozen_) return axerror::cannotComplete;
    nodeOf(element).set(std::string(attribute), value);
    return axerror::success;
  }
  int32_t performAction(const AXElement& element, std::string_view action) override {
    record("performAction", element, std::string(action));
    return frozen_ ? axerror::cannotComplete : axerror::actionUnsupported;
  }
  AXResult elementAtPosition(const AXElement& root, float, float) override {
    record("elementAtPosition", root, "");
    return AXResult::failed(axerror::noValue);
  }
  std::optional<int32_t> processIdentifier(const AXElement&) override { return 1; }
  int32_t setMessagingTimeout(const AXElement&, float) override { return axerror::success; }
  bool lookUpRemoteNotificationRegistration() override { return false; }
  std::optional<AXObserverId> createObserver(int32_t) override { return std::nullopt; }
  void addObserverToRunLoop(AXObserverId) override {}
  int32_t addNotification(AXObserverId, const AXElement&, std::string_view, bool) override {
    return axerror::notificationUnsupported;
  }

 private:
  Node& nodeOf(const AXElement& element) { return *const_cast<Node*>(nodeBehind(element)); }

  void record(const char* operation, const AXElement& element, std::string attributes) {
    if (freezeAt_ && roundTrips_ >= *freezeAt_) {
      frozen_ = true;
      freezeAt_.reset();
    }
    if (thawAt_ && roundTrips_ >= *thawAt_) {
      frozen_ = false;
      thawAt_.reset();
    }
    ++roundTrips_;
    calls_.push_back({operation, nodeOf(element).id, std::move(attributes)});
  }

  AXResult answer(const AXElement& element, std::string_view attribute) {
    if (frozen_) return AXResult::failed(axerror::cannotComplete);
    const Node& n = nodeOf(element);
    auto it = n.attributes.find(attribute);
    if (it == n.attributes.end()) return AXResult::failed(axerror::attributeUnsupported);
    AXResult result = it->second;
    if (result.value) result.value = withFreshHandles(*result.value);
    return result;
  }

  // Every answer carries new references to the elements it names.
  static AXValue withFreshHandles(const AXValue& value) {
    if (const AXElement* element = value.element()) return handleOf(*nodeBehind(*element));
    if (const AXValueList* list = value.list()) {
      AXValueList copy;
      copy.reserve(list->size());
      for (const AXValue& item : *list)
        copy.push_back(withFreshHandles(item));
      return copy;
    }
    return value;
  }

  std::deque<Node> nodes_;  // stable addresses: handles point at nodes
  std::map<std::string, Node*, std::less<>> byId_;
  std::vector<Call> calls_;
  uint64_t roundTrips_ = 0;
  bool frozen_ = false;
  std::optional<uint64_t> freezeAt_, thawAt_;
};

}  // namespace tessary::testing

namespace tessary::testing {

// Same kind and same content; elements when they are handles of the same
// scripted element.
inline bool sameAXValue(const AXValue& a, const AXValue& b) {
  if (a.storage().index() != b.storage().index()) return false;
  if (const AXElement* e = a.element()) {
    return ScriptedAccessibility::nodeBehind(*e) == ScriptedAccessibility::nodeBehind(*b.element());
  }
  if (const AXValueList* list = a.list()) {
    const AXValueList& other = *b.list();
    if (list->size() != other.size()) return false;
    for (size_t i = 0; i < list->size(); ++i) {
      if (!sameAXValue((*list)[i], other[i])) return false;
    }
    return true;
  }
  return std::visit(
      [&](const auto& value) {
        using T = std::decay_t<decltype(value)>;
        if constexpr (std::is_same_v<T, AXElement> || std::is_same_v<T, AXValueList>) {
          return false;
        } else {
          return value == std::get<T>(b.storage());
        }
      },
      a.storage());
}

inline bool sameAnswer(const std::optional<AXValue>& a, const std::optional<AXValue>& b) {
  if (a.has_value() != b.has_value()) return false;
  return !a || sameAXValue(*a, *b);
}

}  // namespace tessary::testing
