#include "platform/linux/atspi_attributes.h"

#include <atspi/atspi-constants.h>

#include <limits>

#include "platform/linux/atspi_roles.h"

namespace tessary::linuxdesktop {

namespace {

bool isCheckableRole(uint32_t role) {
  return role == ATSPI_ROLE_CHECK_BOX || role == ATSPI_ROLE_TOGGLE_BUTTON ||
         role == ATSPI_ROLE_RADIO_BUTTON || role == ATSPI_ROLE_CHECK_MENU_ITEM ||
         role == ATSPI_ROLE_RADIO_MENU_ITEM;
}

AXResult elementList(const std::vector<AtspiRef>& refs, const AttributeSources& sources) {
  AXValueList list;
  list.reserve(refs.size());
  for (const AtspiRef& ref : refs) {
    if (ref.isNull() || !sources.showing(ref)) continue;
    list.emplace_back(sources.element(ref));
  }
  return AXResult::of(AXValue(std::move(list)));
}

AXResult valueOf(const AtspiItem& item) {
  if (item.implements(atspiinterface::value) && item.currentValue)
    return AXResult::of(AXValue(*item.currentValue));
  if (isCheckableRole(item.role))
    return AXResult::of(AXValue(int64_t{item.has(ATSPI_STATE_CHECKED) ? 1 : 0}));
  if (item.implements(atspiinterface::text)) {
    if (item.text) return AXResult::of(AXValue(*item.text));
    return AXResult::failed(axerror::noValue);
  }
  return AXResult::failed(axerror::attributeUnsupported);
}

}  // namespace

bool extentsArePlaced(const AtspiExtents& extents) {
  constexpr int32_t unplaced = std::numeric_limits<int32_t>::min();
  return extents.x != unplaced && extents.y != unplaced && extents.width >= 0 &&
         extents.height >= 0;
}

std::string_view axRoleOf(const AtspiItem& item) {
  if ((item.role == ATSPI_ROLE_TEXT || item.role == ATSPI_ROLE_ENTRY) &&
      item.has(ATSPI_STATE_MULTI_LINE)) {
    return "AXTextArea";
  }
  return mapRole(item.role).axRole;
}

bool valueIsText(const AtspiItem& item) {
  return item.implements(atspiinterface::text) && !isCheckableRole(item.role) &&
         !(item.implements(atspiinterface::value) && item.currentValue);
}

bool valueIsSettable(const AtspiItem& item) {
  return item.implements(atspiinterface::editableText) && item.has(ATSPI_STATE_EDITABLE);
}

AXResult readItemAttribute(const AtspiItem& item, std::string_view attribute,
                           const AttributeSources& sources) {
  if (attribute == "AXRole") return AXResult::of(AXValue(std::string(axRoleOf(item))));
  if (attribute == "AXRoleDescription")
    return AXResult::of(AXValue(std::string(mapRole(item.role).atspiName)));
  if (attribute == "AXTitle") return AXResult::of(AXValue(item.name));
  if (attribute == "AXDescription") return AXResult::of(AXValue(item.description));
  if (attribute == "AXValue") return valueOf(item);
  if (attribute == "AXEnabled") return AXResult::of(AXValue(item.has(ATSPI_STATE_ENABLED)));
  if (attribute == "AXFocused") return AXResult::of(AXValue(item.has(ATSPI_STATE_FOCUSED)));
  if (attribute == "AXPosition" || attribute == "AXSize") {
    if (!item.implements(atspiinterface::component))
      return AXResult::failed(axerror::attributeUnsupported);
    if (!item.extents || !extentsArePlaced(*item.extents))
      return AXResult::failed(axerror::noValue);
    const AtspiExtents& e = *item.extents;
    if (attribute == "AXPosition")
      return AXResult::of(AXValue(AXPoint{static_cast<double>(e.x), static_cast<double>(e.y)}));
    return AXResult::of(
        AXValue(AXSize{static_cast<double>(e.width), static_cast<double>(e.height)}));
  }
  if (attribute == "AXChildren") return elementList(sources.children(item), sources);
  if (attribute == "AXParent") {
    if (item.parent.isNull() || item.role == ATSPI_ROLE_APPLICATION)
      return AXResult::failed(axerror::noValue);
    return AXResult::of(AXValue(sources.element(item.parent)));
  }
  if (attribute == "AXIdentifier") {
    if (item.accessibleId && !item.accessibleId->empty())
      return AXResult::of(AXValue(*item.accessibleId));
    return AXResult::failed(axerror::noValue);
  }
  return AXResult::failed(axerror::attributeUnsupported);
}

}  // namespace tessary::linuxdesktop
