#include <algorithm>
#include <cmath>
#include <string>

#include "platform/fake/element_hit_test.h"
#include "platform/fake/fake_state.h"
#include "platform/fake/value_text.h"

namespace tessary::fake {

namespace {

std::string elementIdText(const AXElement& element, const void* context) {
  const auto* store = static_cast<const ElementStore*>(context);
  std::optional<uint32_t> index = store->indexOf(element);
  return index ? store->at(*index).id : std::string("?");
}

bool isListReadAttribute(std::string_view attribute) {
  return attribute == "AXChildren" || attribute == "AXVisibleChildren" || attribute == "AXRows";
}

uint64_t elementReferencesIn(const AXValue& value) {
  if (value.element()) return 1;
  uint64_t count = 0;
  if (const AXValueList* list = value.list()) {
    for (const AXValue& item : *list)
      count += elementReferencesIn(item);
  }
  return count;
}

template <typename Key, typename Value>
const Value* lookUp(const std::vector<std::pair<Key, Value>>& entries, const Key& key) {
  for (const auto& [k, v] : entries) {
    if (k == key) return &v;
  }
  return nullptr;
}

}  // namespace

template <typename DetailFn>
std::optional<int32_t> FakeAccessibility::reach(const AXElement& element,
                                                std::string_view operation, DetailFn&& detail,
                                                uint32_t& index) {
  std::optional<uint32_t> found = state_.elements.indexOf(element);
  state_.recorder.record(operation, found ? std::string_view(state_.elements.at(*found).id) : "",
                         detail);
  // A null handle fails in the caller's process; nothing is sent.
  if (!found) return axerror::illegalArgument;
  index = *found;
  state_.recorder.countRoundTrip();
  if (state_.elements.at(index).unreachable) return axerror::cannotComplete;
  ApplicationRecord* app = state_.applicationOf(index);
  if (!app) return std::nullopt;
  if (!app->running) return axerror::cannotComplete;
  if (app->freezeAtElement == index) app->frozenByElement = true;
  const bool frozen = app->frozen();
  ++app->calls;
  if (frozen) {
    letTimeoutPass(index);
    return axerror::cannotComplete;
  }
  return std::nullopt;
}

AXResult FakeAccessibility::delivered(AXResult result) {
  if (const AXValue* value = result.get())
    state_.recorder.countElementReferences(elementReferencesIn(*value));
  return result;
}

bool FakeAccessibility::rejectsListRead(uint32_t index, std::string_view attribute,
                                        ApplicationRecord::ListReadForm form) const {
  const ApplicationRecord* app = state_.applicationOf(index);
  return app && app->rejectedListReads == form && isListReadAttribute(attribute);
}

void FakeAccessibility::letTimeoutPass(uint32_t index) {
  state_.advance(state_.messagingTimeoutOf(index));
}

AXResult FakeAccessibility::answer(uint32_t index, const StoredAnswer* stored) {
  if (!stored) return AXResult::failed(axerror::attributeUnsupported);
  switch (stored->kind) {
    case StoredAnswer::Kind::value:
      return AXResult::of(stored->value);
    case StoredAnswer::Kind::empty:
      return AXResult{axerror::success, std::nullopt};
    case StoredAnswer::Kind::error:
      return AXResult::failed(stored->error);
    case StoredAnswer::Kind::timeout:
      letTimeoutPass(index);
      return AXResult::failed(axerror::cannotComplete);
  }
  return AXResult::failed(axerror::failure);
}

std::string_view FakeAccessibility::idOf(const AXElement& element) const {
  std::optional<uint32_t> index = state_.elements.indexOf(element);
  return index ? std::string_view(state_.elements.at(*index).id) : std::string_view();
}

bool FakeAccessibility::isProcessTrusted() {
  state_.recorder.record("isProcessTrusted");
  return state_.trusted;
}

AXElement FakeAccessibility::applicationElement(int32_t pid) {
  state_.recorder.record("applicationElement", "", [&] { return std::to_string(pid); });
  if (const ApplicationRecord* app = state_.application(pid)) {
    return state_.elements.handle(app->element);
  }
  // The platform makes an element for any pid; talking to it fails.
  auto [it, inserted] = state_.absentApplicationElements.try_emplace(pid, 0);
  if (inserted) {
    it->second = state_.elements.add();
    ElementRecord& record = state_.elements.at(it->second);
    record.pid = pid;
    record.unreachable = true;
    record.defined = true;
    record.id = "app:" + std::to_string(pid);
    record.hash = defaultElementHash(record.id);
  }
  return state_.elements.handle(it->second);
}

AXElement FakeAccessibility::systemWideElement() {
  state_.recorder.record("systemWideElement");
  return state_.elements.handle(state_.systemWide);
}

AXResult FakeAccessibility::copyAttributeValue(const AXElement& element,
                                               std::string_view attribute) {
  uint32_t index = 0;
  if (std::optional<int32_t> error = reach(
          element, "copyAttributeValue", [&] { return std::string(attribute); }, index)) {
    return AXResult::failed(*error);
  }
  return delivered(answer(index, state_.elements.find(index, attribute)));
}

AXResult FakeAccessibility::copyAttributeValues(const AXElement& element,
                                                std::string_view attribute, int64_t index,
                                                int64_t maxCount) {
  uint32_t slot = 0;
  if (std::optional<int32_t> error = reach(
          element, "copyAttributeValues",
          [&] {
            return std::string(attribute) + " " + std::to_string(index) + " " +
                   std::to_string(maxCount);
          },
          slot)) {
    return AXResult::failed(*error);
  }
  if (rejectsListRead(slot, attribute, ApplicationRecord::ListReadForm::ranged)) {
    return AXResult::failed(axerror::attributeUnsupported);
  }
  const StoredAnswer* stored = state_.elements.find(slot, attribute);
  if (!stored || stored->kind != StoredAnswer::Kind::value) return answer(slot, stored);
  const AXValueList* list = stored->value.list();
  if (!list || index < 0 || maxCount < 0) return AXResult::failed(axerror::illegalArgument);
  const size_t size = list->size();
  const size_t begin = std::min(size, static_cast<size_t>(index));
  const size_t end = begin + std::min(size - begin, static_cast<size_t>(maxCount));
  if (begin == 0 && end == size) return delivered(AXResult::of(stored->value));
  return delivered(AXResult::of(AXValueList(list->begin() + static_cast<ptrdiff_t>(begin),
                                            list->begin() + static_cast<ptrdiff_t>(end))));
}

std::vector<AXResult> FakeAccessibility::copyMultipleAttributeValues(
    const AXElement& element, std::span<const std::string_view> attributes) {
  uint32_t index = 0;
  std::optional<int32_t> error = reach(
      element, "copyMultipleAttributeValues",
      [&] {
        std::string names;
        for (std::string_view attribute : attributes) {
          if (!names.empty()) names += ",";
          names += attribute;
        }
        return names;
      },
      index);
  if (error) return std::vector<AXResult>(attributes.size(), AXResult::failed(*error));

  // A batch has no index or count: lists come whole, as the application
  // holds them, and the application may answer them otherwise than a ranged
  // read (batchAnswers, rejectsListReads).
  static const StoredAnswer kUnsupported = StoredAnswer::failing(axerror::attributeUnsupported);
  const ElementExtras* extras = state_.elements.at(index).extras.get();
  std::vector<const StoredAnswer*> stored;
  stored.reserve(attributes.size());
  bool hangs = false;
  for (std::string_view attribute : attributes) {
    const StoredAnswer* batchAnswer = nullptr;
    if (extras && !extras->batchAnswers.empty()) {
      if (std::optional<AttributeKey> key = state_.elements.findKey(attribute))
        batchAnswer = lookUp(extras->batchAnswers, *key);
    }
    if (!batchAnswer && rejectsListRead(index, attribute, ApplicationRecord::ListReadForm::batch))
      batchAnswer = &kUnsupported;
    stored.push_back(batchAnswer ? batchAnswer : state_.elements.find(index, attribute));
    if (stored.back() && stored.back()->kind == StoredAnswer::Kind::timeout) hangs = true;
  }
  // One message carries the whole batch: an attribute the application hangs
  // on holds up every answer, and the timeout passes once.
  if (hangs) {
    letTimeoutPass(index);
    return std::vector<AXResult>(attributes.size(), AXResult::failed(axerror::cannotComplete));
  }
  std::vector<AXResult> results;
  results.reserve(attributes.size());
  for (const StoredAnswer* answerOfAttribute : stored) {
    results.push_back(delivered(answer(index, answerOfAttribute)));
  }
  return results;
}

AXResult FakeAccessibility::copyParameterizedAttributeValue(const AXElement& element,
                                                            std::string_view attribute,
                                                            const AXValue& parameter) {
  uint32_t index = 0;
  if (std::optional<int32_t> error = reach(
          element, "copyParameterizedAttributeValue",
          [&] {
            return std::string(attribute) + " " +
                   valueText(parameter, elementIdText, &state_.elements);
          },
          index)) {
    return AXResult::failed(*error);
  }
  const ElementExtras* extras = state_.elements.at(index).extras.get();
  const StoredAnswer* stored =
      extras ? lookUp(extras->parameterized, std::string(attribute)) : nullptr;
  if (!stored) return AXResult::failed(axerror::parameterizedAttributeUnsupported);
  return delivered(answer(index, stored));
}

AXResult FakeAccessibility::isAttributeSettable(const AXElement& element,
                                                std::string_view attribute) {
  uint32_t index = 0;
  if (std::optional<int32_t> error = reach(
          element, "isAttributeSettable", [&] { return std::string(attribute); }, index)) {
    return AXResult::failed(*error);
  }
  std::optional<AttributeKey> key = state_.elements.findKey(attribute);
  const ElementExtras* extras = state_.elements.at(index).extras.get();
  if (key && extras) {
    if (const StoredAnswer* settable = lookUp(extras->settable, *key))
      return answer(index, settable);
    if (lookUp(extras->setResults, *key)) return AXResult::of(true);
  }
  if (key && state_.elements.find(index, *key)) return AXResult::of(false);
  return AXResult::failed(axerror::attributeUnsupported);
}

int32_t FakeAccessibility::setAttributeValue(const AXElement& element, std::string_view attribute,
                                             const AXValue& value) {
  uint32_t index = 0;
  if (std::optional<int32_t> error = reach(
          element, "setAttributeValue",
          [&] {
            return std::string(attribute) + " " + valueText(value, elementIdText, &state_.elements);
          },
          index)) {
    return *error;
  }
  ElementStore& elements = state_.elements;
  const AttributeKey key = elements.key(attribute);
  if (ElementExtras* extras = elements.at(index).extras.get()) {
    if (const std::vector<StoredAnswer>* results = lookUp(extras->setResults, key)) {
      uint32_t* attempts = nullptr;
      for (auto& [k, count] : extras->setAttempts) {
        if (k == key) attempts = &count;
      }
      if (!attempts) attempts = &extras->setAttempts.emplace_back(key, 0).second;
      const StoredAnswer& result = (*results)[std::min<size_t>(*attempts, results->size() - 1)];
      ++*attempts;
      if (result.kind == StoredAnswer::Kind::timeout) {
        letTimeoutPass(index);
        return axerror::cannotComplete;
      }
      if (result.error != axerror::success) return result.error;
      elements.set(index, key, StoredAnswer::of(value));
      return axerror::success;
    }
    if (const StoredAnswer* settable = lookUp(extras->settable, key)) {
      if (settable->kind == StoredAnswer::Kind::value &&
          settable->value.boolean().value_or(false)) {
        elements.set(index, key, StoredAnswer::of(value));
        return axerror::success;
      }
    }
  }
  return axerror::attributeUnsupported;
}

int32_t FakeAccessibility::performAction(const AXElement& element, std::string_view action) {
  uint32_t index = 0;
  if (std::optional<int32_t> error = reach(
          element, "performAction", [&] { return std::string(action); }, index)) {
    return *error;
  }
  const ElementExtras* extras = state_.elements.at(index).extras.get();
  const int32_t* result = extras ? lookUp(extras->actions, std::string(action)) : nullptr;
  if (!result) return axerror::actionUnsupported;
  if (*result == axerror::success && action == "AXRaise") applyRaiseEffect(state_, index);
  return *result;
}

AXResult FakeAccessibility::elementAtPosition(const AXElement& root, float x, float y) {
  const Point point{x, y};
  auto detail = [&] { return numberText(x) + " " + numberText(y); };
  std::optional<uint32_t> rootIndex = state_.elements.indexOf(root);

  if (rootIndex && *rootIndex == state_.systemWide) {
    state_.recorder.record("elementAtPosition", state_.elements.at(*rootIndex).id, detail);
    state_.recorder.countRoundTrip();
    const ElementExtras* extras = state_.elements.at(*rootIndex).extras.get();
    if (extras && extras->elementAtPositionError) {
      return answer(*rootIndex, &*extras->elementAtPositionError);
    }
    // The system asks the application that owns the window under the point.
    std::optional<size_t> window = windowUnderPoint(state_, point);
    if (!window) return AXResult::failed(axerror::noValue);
    const WindowRecord& record = state_.windows[*window];
    const int32_t pid = *record.entry.at("kCGWindowOwnerPID").asInt32();
    ApplicationRecord& app = state_.applications[state_.applicationByPid.at(pid)];
    const bool frozen = app.frozen();
    ++app.calls;
    if (frozen) {
      letTimeoutPass(*rootIndex);
      return AXResult::failed(axerror::cannotComplete);
    }
    if (app.elementAtPositionError) return answer(*rootIndex, &*app.elementAtPositionError);
    std::optional<uint32_t> found =
        record.element >= 0 ? hitInElement(state_, static_cast<uint32_t>(record.element), point)
                            : hitInApplication(state_, app, point);
    return delivered(AXResult::of(state_.elements.handle(found.value_or(app.element))));
  }

  uint32_t index = 0;
  if (std::optional<int32_t> error = reach(root, "elementAtPosition", detail, index)) {
    return AXResult::failed(*error);
  }
  const ApplicationRecord* app = state_.applicationOf(index);
  if (!app) {
    std::optional<uint32_t> found = hitInElement(state_, index, point);
    if (!found) return AXResult::failed(axerror::noValue);
    return delivered(AXResult::of(state_.elements.handle(*found)));
  }
  if (app->elementAtPositionError) return answer(index, &*app->elementAtPositionError);
  std::optional<uint32_t> found = hitInApplication(state_, *app, point);
  return delivered(AXResult::of(state_.elements.handle(found.value_or(app->element))));
}

std::optional<int32_t> FakeAccessibility::processIdentifier(const AXElement& element) {
  std::optional<uint32_t> index = state_.elements.indexOf(element);
  state_.recorder.record("processIdentifier", idOf(element));
  if (!index) return std::nullopt;
  return state_.elements.at(*index).pid;
}

int32_t FakeAccessibility::setMessagingTimeout(const AXElement& element, float seconds) {
  std::optional<uint32_t> index = state_.elements.indexOf(element);
  state_.recorder.record("setMessagingTimeout", idOf(element), [&] { return numberText(seconds); });
  if (!index || !(seconds >= 0)) return axerror::illegalArgument;
  // On the system-wide element the timeout is the process-wide one; on any
  // other element it covers that element only (0 goes back to the default).
  if (*index == state_.systemWide) {
    state_.globalMessagingTimeout = seconds;
  } else {
    state_.elements.at(*index).messagingTimeout = seconds;
  }
  return axerror::success;
}

bool FakeAccessibility::lookUpRemoteNotificationRegistration() {
  state_.recorder.record("lookUpRemoteNotificationRegistration");
  state_.remoteRegistrationLookedUp = true;
  return state_.remoteRegistrationAvailable;
}

std::optional<AXObserverId> FakeAccessibility::createObserver(int32_t pid) {
  state_.recorder.record("createObserver", "", [&] { return std::to_string(pid); });
  const ApplicationRecord* app = state_.application(pid);
  if (!app || !app->running || app->observerCreateResult != axerror::success) return std::nullopt;
  state_.observers.push_back(ObserverRecord{pid, {}});
  return static_cast<AXObserverId>(state_.observers.size());
}

void FakeAccessibility::addObserverToRunLoop(AXObserverId observer) {
  state_.recorder.record("addObserverToRunLoop", "", [&] { return std::to_string(observer); });
}

int32_t FakeAccessibility::addNotification(AXObserverId observer, const AXElement& element,
                                           std::string_view notification, bool useRemote) {
  // The private variant is only there when the lookup found it.
  const bool remote =
      useRemote && state_.remoteRegistrationLookedUp && state_.remoteRegistrationAvailable;
  auto detail = [&] { return std::string(notification) + (remote ? " remote" : ""); };
  if (observer == 0 || observer > state_.observers.size()) {
    state_.recorder.record("addNotification", idOf(element), detail);
    return axerror::invalidUIElementObserver;
  }
  uint32_t index = 0;
  if (std::optional<int32_t> error = reach(element, "addNotification", detail, index)) {
    return *error;
  }
  ObserverRecord& record = state_.observers[observer - 1];
  if (const ApplicationRecord* app = state_.application(record.pid)) {
    auto configured = app->notificationResults.find(notification);
    const int32_t result =
        configured != app->notificationResults.end() ? configured->second : app->notificationResult;
    if (result != axerror::success) return result;
  }
  if (!record.registrations.emplace(index, std::string(notification)).second) {
    return axerror::notificationAlreadyRegistered;
  }
  return axerror::success;
}

}  // namespace tessary::fake
