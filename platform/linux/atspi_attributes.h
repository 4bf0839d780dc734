// The accessibility attributes the logic reads, answered from what is known
// about an AT-SPI object. Attributes that need a further call (selected text,
// focus, element at a point) are the backend's; everything here is pure.
#pragma once

#include <functional>
#include <string_view>
#include <vector>

#include "platform/ax_value.h"
#include "platform/linux/atspi_item.h"

namespace tessary::linuxdesktop {

struct AttributeSources {
  // The element handle for a reference.
  std::function<AXElement(const AtspiRef&)> element;
  // The object's children as the application lists them.
  std::function<std::vector<AtspiRef>(const AtspiItem&)> children;
  // Whether a listed child is shown (children that are not are left out, as
  // hidden views are on macOS); unknown children count as shown.
  std::function<bool(const AtspiRef&)> showing;
};

AXResult readItemAttribute(const AtspiItem& item, std::string_view attribute,
                           const AttributeSources& sources);

std::string_view axRoleOf(const AtspiItem& item);

// AXValue is answered from the object's text: it has the Text interface, is
// not a check box or the like (their value is their state), and has no value
// from the Value interface.
bool valueIsText(const AtspiItem& item);

// AXValue can be written through EditableText on an editable object.
bool valueIsSettable(const AtspiItem& item);

// Extents that the toolkit gives for objects it has not placed (cells
// scrolled out of view report x = INT32_MIN) are no position at all.
bool extentsArePlaced(const AtspiExtents& extents);

}  // namespace tessary::linuxdesktop
