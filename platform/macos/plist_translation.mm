#include "platform/macos/plist_translation.h"

#include "platform/macos/cf_number.h"
#include "platform/macos/cf_text.h"

namespace tessary::macos {

namespace {

void collectMember(const void* key, const void* value, void* context) {
  if (!key || CFGetTypeID(key) != CFStringGetTypeID()) return;
  std::optional<PlistValue> converted = plistFromCF(value);
  if (!converted) return;
  static_cast<PlistDict*>(context)->insert_or_assign(
      utf8FromCFString(static_cast<CFStringRef>(key)), std::move(*converted));
}

}  // namespace

std::optional<PlistValue> plistFromCF(CFTypeRef value) {
  if (!value) return std::nullopt;
  CFTypeID type = CFGetTypeID(value);
  if (type == CFBooleanGetTypeID()) {
    return PlistValue(static_cast<bool>(CFBooleanGetValue(static_cast<CFBooleanRef>(value))));
  }
  if (type == CFNumberGetTypeID()) {
    return std::visit([](auto number) { return PlistValue(number); },
                      numberFromCFNumber(static_cast<CFNumberRef>(value)));
  }
  if (type == CFStringGetTypeID()) {
    return PlistValue(utf8FromCFString(static_cast<CFStringRef>(value)));
  }
  if (type == CFArrayGetTypeID()) {
    CFArrayRef array = static_cast<CFArrayRef>(value);
    CFIndex count = CFArrayGetCount(array);
    PlistArray items;
    items.reserve(static_cast<size_t>(count));
    for (CFIndex i = 0; i < count; ++i) {
      if (std::optional<PlistValue> item = plistFromCF(CFArrayGetValueAtIndex(array, i))) {
        items.push_back(std::move(*item));
      }
    }
    return PlistValue(std::move(items));
  }
  if (type == CFDictionaryGetTypeID()) {
    PlistDict members;
    CFDictionaryApplyFunction(static_cast<CFDictionaryRef>(value), collectMember, &members);
    return PlistValue(std::move(members));
  }
  // Data, dates, kCFNull and the like: kept as a value of another kind, so an
  // array keeps its length and a reader finds the key of the wrong type.
  CFRef<CFStringRef> typeName = CFRef<CFStringRef>::adopt(CFCopyTypeIDDescription(type));
  return PlistValue(PlistOther{typeName ? utf8FromCFString(typeName.get()) : std::string()});
}

}  // namespace tessary::macos
