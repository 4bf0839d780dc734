#include "platform/macos/mac_accessibility.h"

#include <ApplicationServices/ApplicationServices.h>
#include <dlfcn.h>

#include <mutex>
#include <string>
#include <unordered_map>

#include "platform/macos/ax_translation.h"
#include "platform/macos/cf_ref.h"
#include "platform/macos/cf_text.h"
#include "platform/macos/service_kits.h"

namespace tessary::macos {

// ax_value.h keeps the platform's numbers for the error codes.
static_assert(axerror::success == kAXErrorSuccess);
static_assert(axerror::failure == kAXErrorFailure);
static_assert(axerror::illegalArgument == kAXErrorIllegalArgument);
static_assert(axerror::invalidUIElement == kAXErrorInvalidUIElement);
static_assert(axerror::invalidUIElementObserver == kAXErrorInvalidUIElementObserver);
static_assert(axerror::cannotComplete == kAXErrorCannotComplete);
static_assert(axerror::attributeUnsupported == kAXErrorAttributeUnsupported);
static_assert(axerror::actionUnsupported == kAXErrorActionUnsupported);
static_assert(axerror::notificationUnsupported == kAXErrorNotificationUnsupported);
static_assert(axerror::notImplemented == kAXErrorNotImplemented);
static_assert(axerror::notificationAlreadyRegistered == kAXErrorNotificationAlreadyRegistered);
static_assert(axerror::notificationNotRegistered == kAXErrorNotificationNotRegistered);
static_assert(axerror::apiDisabled == kAXErrorAPIDisabled);
static_assert(axerror::noValue == kAXErrorNoValue);
static_assert(axerror::parameterizedAttributeUnsupported ==
              kAXErrorParameterizedAttributeUnsupported);
static_assert(axerror::notEnoughPrecision == kAXErrorNotEnoughPrecision);

namespace {

// The private registration that also reaches remote (out-of-process) web
// content; it takes exactly what AXObserverAddNotification takes.
using RemoteRegistration = AXError (*)(AXObserverRef observer, AXUIElementRef element,
                                       CFStringRef notification, void* refcon);
constexpr const char* kRemoteRegistrationSymbol = "AXObserverAddNotificationAndCheckRemote";

// Notifications only need to arrive so the application builds its tree; we
// never act on them.
void ignoreNotification(AXObserverRef, AXUIElementRef, CFStringRef, CFDictionaryRef, void*) {}

// A call on an empty handle is refused here: the AX functions do not promise
// to survive a null element.
constexpr int32_t kNoElement = axerror::illegalArgument;

CFRef<CFTypeRef> adoptAnswer(CFTypeRef answer) {
  return CFRef<CFTypeRef>::adopt(answer);
}

AXResult resultOf(AXError error, CFTypeRef answer) {
  CFRef<CFTypeRef> owned = adoptAnswer(answer);
  if (error != kAXErrorSuccess) return AXResult::failed(static_cast<int32_t>(error));
  if (!owned) return AXResult{axerror::success, std::nullopt};
  return AXResult::of(axValueFromCF(owned.get()));
}

AXObserverRef observerRef(const void* stored) {
  return static_cast<AXObserverRef>(const_cast<void*>(stored));
}

}  // namespace

namespace {

struct TransparentTextHash {
  using is_transparent = void;
  size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};

}  // namespace

// A capture asks for the same few dozen names over and over; making a CFString
// for each of them on every call cost about 15 CF allocations per element.
struct MacAccessibility::NameCache {
  std::mutex mutex;
  std::unordered_map<std::string, CFRef<CFStringRef>, TransparentTextHash, std::equal_to<>> names;
  // Keyed by each name's length and text, so no two lists share a key.
  std::unordered_map<std::string, CFRef<CFArrayRef>, TransparentTextHash, std::equal_to<>> batches;

  // Valid for the cache's lifetime.
  CFStringRef name(std::string_view text) {
    std::lock_guard lock(mutex);
    return nameLocked(text);
  }

  CFArrayRef batch(std::span<const std::string_view> attributes) {
    std::string key;
    for (std::string_view attribute : attributes) {
      key += std::to_string(attribute.size());
      key += ':';
      key += attribute;
    }
    std::lock_guard lock(mutex);
    auto found = batches.find(key);
    if (found != batches.end()) return found->second.get();
    CFRef<CFMutableArrayRef> array = CFRef<CFMutableArrayRef>::adopt(CFArrayCreateMutable(
        kCFAllocatorDefault, static_cast<CFIndex>(attributes.size()), &kCFTypeArrayCallBacks));
    if (!array) return nullptr;
    for (std::string_view attribute : attributes) {
      CFStringRef name = nameLocked(attribute);
      if (!name) return nullptr;  // the array's callbacks cannot retain nothing
      CFArrayAppendValue(array.get(), name);
    }
    CFRef<CFArrayRef> stored = CFRef<CFArrayRef>::adopt(array.release());
    CFArrayRef result = stored.get();
    batches.emplace(std::move(key), std::move(stored));
    return result;
  }

 private:
  CFStringRef nameLocked(std::string_view text) {
    auto found = names.find(text);
    if (found != names.end()) return found->second.get();
    CFRef<CFStringRef> made = cfStringFromUtf8(text);
    if (!made) return nullptr;  // not cached: the next call tries again
    CFStringRef result = made.get();
    names.emplace(std::string(text), std::move(made));
    return result;
  }
};

MacAccessibility::MacAccessibility() : names_(std::make_unique<NameCache>()) {}

MacAccessibility::~MacAccessibility() {
  for (auto& [id, observer] : observers_)
    CFRelease(observer);
}

bool MacAccessibility::isProcessTrusted() {
  return AXIsProcessTrusted();
}

AXElement MacAccessibility::applicationElement(int32_t pid) {
  return elementAdoptingRef(AXUIElementCreateApplication(static_cast<pid_t>(pid)));
}

AXElement MacAccessibility::systemWideElement() {
  return elementAdoptingRef(AXUIElementCreateSystemWide());
}

AXResult MacAccessibility::copyAttributeValue(const AXElement& element,
                                              std::string_view attribute) {
  if (!element) return AXResult::failed(kNoElement);
  CFStringRef name = names_->name(attribute);
  CFTypeRef answer = nullptr;
  AXError error = AXUIElementCopyAttributeValue(elementRef(element), name, &answer);
  return resultOf(error, answer);
}

AXResult MacAccessibility::copyAttributeValues(const AXElement& element, std::string_view attribute,
                                               int64_t index, int64_t maxCount) {
  if (!element) return AXResult::failed(kNoElement);
  CFStringRef name = names_->name(attribute);
  CFArrayRef answer = nullptr;
  AXError error =
      AXUIElementCopyAttributeValues(elementRef(element), name, static_cast<CFIndex>(index),
                                     static_cast<CFIndex>(maxCount), &answer);
  return resultOf(error, answer);
}

std::vector<AXResult> MacAccessibility::copyMultipleAttributeValues(
    const AXElement& element, std::span<const std::string_view> attributes) {
  if (!element) return std::vector<AXResult>(attributes.size(), AXResult::failed(kNoElement));
  CFArrayRef names = names_->batch(attributes);
  if (!names) return std::vector<AXResult>(attributes.size(), AXResult::failed(axerror::failure));
  CFArrayRef answers = nullptr;
  // Options 0: no stop on error, so every attribute gets its own answer.
  AXError error = AXUIElementCopyMultipleAttributeValues(elementRef(element), names, 0, &answers);
  CFRef<CFArrayRef> owned = CFRef<CFArrayRef>::adopt(answers);
  if (error != kAXErrorSuccess) {
    return std::vector<AXResult>(attributes.size(), AXResult::failed(static_cast<int32_t>(error)));
  }
  std::vector<AXResult> results;
  results.reserve(attributes.size());
  CFIndex count = owned ? CFArrayGetCount(owned.get()) : 0;
  for (size_t i = 0; i < attributes.size(); ++i) {
    // A short answer array leaves the remaining attributes without a value.
    CFTypeRef answer = static_cast<CFIndex>(i) < count
                           ? CFArrayGetValueAtIndex(owned.get(), static_cast<CFIndex>(i))
                           : nullptr;
    results.push_back(resultFromMultipleAnswer(answer));
  }
  return results;
}

AXResult MacAccessibility::copyParameterizedAttributeValue(const AXElement& element,
                                                           std::string_view attribute,
                                                           const AXValue& parameter) {
  if (!element) return AXResult::failed(kNoElement);
  CFRef<CFTypeRef> cfParameter = cfFromAXValue(parameter);
  if (!cfParameter) return AXResult::failed(axerror::illegalArgument);
  CFStringRef name = names_->name(attribute);
  CFTypeRef answer = nullptr;
  AXError error = AXUIElementCopyParameterizedAttributeValue(elementRef(element), name,
                                                             cfParameter.get(), &answer);
  return resultOf(error, answer);
}

AXResult MacAccessibility::isAttributeSettable(const AXElement& element,
                                               std::string_view attribute) {
  if (!element) return AXResult::failed(kNoElement);
  CFStringRef name = names_->name(attribute);
  Boolean settable = false;
  AXError error = AXUIElementIsAttributeSettable(elementRef(element), name, &settable);
  if (error != kAXErrorSuccess) return AXResult::failed(static_cast<int32_t>(error));
  return AXResult::of(AXValue(static_cast<bool>(settable)));
}

int32_t MacAccessibility::setAttributeValue(const AXElement& element, std::string_view attribute,
                                            const AXValue& value) {
  if (!element) return kNoElement;
  CFRef<CFTypeRef> cfValue = cfFromAXValue(value);
  if (!cfValue) return axerror::illegalArgument;
  CFStringRef name = names_->name(attribute);
  return AXUIElementSetAttributeValue(elementRef(element), name, cfValue.get());
}

int32_t MacAccessibility::performAction(const AXElement& element, std::string_view action) {
  if (!element) return kNoElement;
  CFStringRef name = names_->name(action);
  return AXUIElementPerformAction(elementRef(element), name);
}

AXResult MacAccessibility::elementAtPosition(const AXElement& root, float x, float y) {
  if (!root) return AXResult::failed(kNoElement);
  AXUIElementRef hit = nullptr;
  AXError error = AXUIElementCopyElementAtPosition(elementRef(root), x, y, &hit);
  AXElement element = elementAdoptingRef(hit);
  if (error != kAXErrorSuccess) return AXResult::failed(static_cast<int32_t>(error));
  if (!element) return AXResult{axerror::success, std::nullopt};
  return AXResult::of(AXValue(std::move(element)));
}

std::optional<int32_t> MacAccessibility::processIdentifier(const AXElement& element) {
  if (!element) return std::nullopt;
  pid_t pid = 0;
  if (AXUIElementGetPid(elementRef(element), &pid) != kAXErrorSuccess) return std::nullopt;
  return static_cast<int32_t>(pid);
}

int32_t MacAccessibility::setMessagingTimeout(const AXElement& element, float seconds) {
  if (!element) return kNoElement;
  return AXUIElementSetMessagingTimeout(elementRef(element), seconds);
}

bool MacAccessibility::lookUpRemoteNotificationRegistration() {
  remoteRegistration_ = dlsym(RTLD_DEFAULT, kRemoteRegistrationSymbol);
  return remoteRegistration_ != nullptr;
}

std::optional<AXObserverId> MacAccessibility::createObserver(int32_t pid) {
  AXObserverRef observer = nullptr;
  AXError error =
      AXObserverCreateWithInfoCallback(static_cast<pid_t>(pid), ignoreNotification, &observer);
  if (error != kAXErrorSuccess) {
    if (observer) CFRelease(observer);
    return std::nullopt;
  }
  if (!observer) return std::nullopt;
  AXObserverId id = nextObserverId_++;
  observers_.emplace(id, observer);
  return id;
}

void MacAccessibility::addObserverToRunLoop(AXObserverId observer) {
  auto found = observers_.find(observer);
  if (found == observers_.end()) return;
  CFRunLoopSourceRef source = AXObserverGetRunLoopSource(observerRef(found->second));
  if (source) CFRunLoopAddSource(CFRunLoopGetCurrent(), source, kCFRunLoopDefaultMode);
}

int32_t MacAccessibility::addNotification(AXObserverId observer, const AXElement& element,
                                          std::string_view notification, bool useRemote) {
  auto found = observers_.find(observer);
  if (found == observers_.end()) return axerror::invalidUIElementObserver;
  if (!element) return kNoElement;
  CFStringRef name = names_->name(notification);
  if (useRemote && remoteRegistration_) {
    auto remote = reinterpret_cast<RemoteRegistration>(remoteRegistration_);
    return remote(observerRef(found->second), elementRef(element), name, nullptr);
  }
  return AXObserverAddNotification(observerRef(found->second), elementRef(element), name, nullptr);
}

std::unique_ptr<Accessibility> makeAccessibility() {
  return std::make_unique<MacAccessibility>();
}

}  // namespace tessary::macos
