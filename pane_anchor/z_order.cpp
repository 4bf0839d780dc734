#include "pane_anchor/z_order.h"

namespace tessary::anchor {

ZOrderPlace findZOrderPlace(const std::optional<PlistArray>& onScreenList, int64_t windowNumber) {
  ZOrderPlace place;
  if (!onScreenList) return place;
  for (size_t i = 0; i < onScreenList->size(); ++i) {
    const PlistValue& entry = (*onScreenList)[i];
    const PlistValue* number = entry.find("kCGWindowNumber");
    std::optional<int64_t> entryNumber = number ? number->asInteger() : std::nullopt;
    if (!entryNumber) continue;
    if (*entryNumber == windowNumber) {
      place.index = static_cast<int64_t>(i);
      return place;
    }
    const PlistValue* owner = entry.find("kCGWindowOwnerName");
    const std::string* ownerName = owner ? owner->asString() : nullptr;
    const PlistValue* layer = entry.find("kCGWindowLayer");
    std::optional<int64_t> layerValue = layer ? layer->asInteger() : std::nullopt;
    place.windowsAbove.push_back(
        WindowAbove{*entryNumber, ownerName ? *ownerName : std::string(), layerValue.value_or(0)});
  }
  return place;
}

}  // namespace tessary::anchor
