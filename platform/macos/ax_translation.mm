#include "platform/macos/ax_translation.h"

#include "platform/macos/cf_number.h"
#include "platform/macos/cf_text.h"

namespace tessary::macos {

namespace {

AXValue boxFromCF(AXValueRef box) {
  switch (AXValueGetType(box)) {
    case kAXValueTypeCGPoint: {
      CGPoint p;
      if (AXValueGetValue(box, kAXValueTypeCGPoint, &p)) return AXValue(AXPoint{p.x, p.y});
      break;
    }
    case kAXValueTypeCGSize: {
      CGSize s;
      if (AXValueGetValue(box, kAXValueTypeCGSize, &s)) return AXValue(AXSize{s.width, s.height});
      break;
    }
    case kAXValueTypeCGRect: {
      CGRect r;
      if (AXValueGetValue(box, kAXValueTypeCGRect, &r)) {
        return AXValue(
            AXRect{AXPoint{r.origin.x, r.origin.y}, AXSize{r.size.width, r.size.height}});
      }
      break;
    }
    case kAXValueTypeCFRange: {
      CFRange r;
      if (AXValueGetValue(box, kAXValueTypeCFRange, &r)) {
        return AXValue(AXRange{static_cast<int64_t>(r.location), static_cast<int64_t>(r.length)});
      }
      break;
    }
    default:
      break;
  }
  return AXValue(AXOtherValue{"AXValue"});
}

std::string typeName(CFTypeRef value) {
  CFRef<CFStringRef> description =
      CFRef<CFStringRef>::adopt(CFCopyTypeIDDescription(CFGetTypeID(value)));
  return description ? utf8FromCFString(description.get()) : std::string();
}

CFRef<CFTypeRef> boxOf(AXValueType type, const void* value) {
  return CFRef<CFTypeRef>::adopt(AXValueCreate(type, value));
}

}  // namespace

AXElement elementAdoptingRef(AXUIElementRef element) {
  if (!element) return AXElement();
  uint64_t hash = CFHash(element);
  return AXElement(std::shared_ptr<const void>(element, [](const void* ref) { CFRelease(ref); }),
                   hash);
}

AXElement elementFromRef(AXUIElementRef element) {
  if (element) CFRetain(element);
  return elementAdoptingRef(element);
}

AXUIElementRef elementRef(const AXElement& element) {
  return static_cast<AXUIElementRef>(element.native());
}

AXValue axValueFromCF(CFTypeRef value) {
  if (!value) return AXValue(AXOtherValue{"null"});
  CFTypeID type = CFGetTypeID(value);
  if (type == CFStringGetTypeID())
    return AXValue(utf8FromCFString(static_cast<CFStringRef>(value)));
  if (type == CFBooleanGetTypeID())
    return AXValue(static_cast<bool>(CFBooleanGetValue(static_cast<CFBooleanRef>(value))));
  if (type == CFNumberGetTypeID()) {
    return std::visit([](auto number) { return AXValue(number); },
                      numberFromCFNumber(static_cast<CFNumberRef>(value)));
  }
  if (type == AXValueGetTypeID()) return boxFromCF(static_cast<AXValueRef>(value));
  if (type == AXUIElementGetTypeID())
    return AXValue(elementFromRef(static_cast<AXUIElementRef>(value)));
  if (type == CFArrayGetTypeID()) {
    CFArrayRef array = static_cast<CFArrayRef>(value);
    CFIndex count = CFArrayGetCount(array);
    AXValueList items;
    items.reserve(static_cast<size_t>(count));
    for (CFIndex i = 0; i < count; ++i) {
      items.push_back(axValueFromCF(CFArrayGetValueAtIndex(array, i)));
    }
    return AXValue(std::move(items));
  }
  return AXValue(AXOtherValue{typeName(value)});
}

CFRef<CFTypeRef> cfFromAXValue(const AXValue& value) {
  const AXValue::Storage& storage = value.storage();
  if (auto* text = std::get_if<std::string>(&storage)) {
    CFRef<CFStringRef> string = cfStringFromUtf8(*text);
    return CFRef<CFTypeRef>::adopt(string.release());
  }
  if (auto* integer = std::get_if<int64_t>(&storage)) {
    return CFRef<CFTypeRef>::adopt(
        CFNumberCreate(kCFAllocatorDefault, kCFNumberSInt64Type, integer));
  }
  if (auto* real = std::get_if<double>(&storage)) {
    return CFRef<CFTypeRef>::adopt(CFNumberCreate(kCFAllocatorDefault, kCFNumberDoubleType, real));
  }
  if (auto* boolean = std::get_if<bool>(&storage)) {
    return CFRef<CFTypeRef>::retain(*boolean ? kCFBooleanTrue : kCFBooleanFalse);
  }
  if (auto* point = std::get_if<AXPoint>(&storage)) {
    CGPoint p = CGPointMake(point->x, point->y);
    return boxOf(kAXValueTypeCGPoint, &p);
  }
  if (auto* size = std::get_if<AXSize>(&storage)) {
    CGSize s = CGSizeMake(size->width, size->height);
    return boxOf(kAXValueTypeCGSize, &s);
  }
  if (auto* rect = std::get_if<AXRect>(&storage)) {
    CGRect r = CGRectMake(rect->origin.x, rect->origin.y, rect->size.width, rect->size.height);
    return boxOf(kAXValueTypeCGRect, &r);
  }
  if (auto* range = std::get_if<AXRange>(&storage)) {
    CFRange r =
        CFRangeMake(static_cast<CFIndex>(range->location), static_cast<CFIndex>(range->length));
    return boxOf(kAXValueTypeCFRange, &r);
  }
  if (auto* element = std::get_if<AXElement>(&storage)) {
    return CFRef<CFTypeRef>::retain(elementRef(*element));
  }
  if (auto* items = std::get_if<AXValueList>(&storage)) {
    CFRef<CFMutableArrayRef> array = CFRef<CFMutableArrayRef>::adopt(CFArrayCreateMutable(
        kCFAllocatorDefault, static_cast<CFIndex>(items->size()), &kCFTypeArrayCallBacks));
    if (!array) return {};
    for (const AXValue& item : *items) {
      CFRef<CFTypeRef> converted = cfFromAXValue(item);
      if (!converted) return {};
      CFArrayAppendValue(array.get(), converted.get());
    }
    return CFRef<CFTypeRef>::adopt(array.release());
  }
  return {};
}

AXResult resultFromMultipleAnswer(CFTypeRef answer) {
  if (!answer || answer == kCFNull) return AXResult::failed(axerror::noValue);
  if (CFGetTypeID(answer) == AXValueGetTypeID() &&
      AXValueGetType(static_cast<AXValueRef>(answer)) == kAXValueTypeAXError) {
    AXError error = kAXErrorFailure;
    if (!AXValueGetValue(static_cast<AXValueRef>(answer), kAXValueTypeAXError, &error)) {
      return AXResult::failed(axerror::failure);
    }
    // A box claiming success carries no value.
    return AXResult::failed(error == kAXErrorSuccess ? axerror::noValue
                                                     : static_cast<int32_t>(error));
  }
  return AXResult::of(axValueFromCF(answer));
}

}  // namespace tessary::macos
