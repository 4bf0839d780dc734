// The printed forms of an element's fields, shared by the element map and
// the streamed capture JSON so both print the same values.
#pragma once

#include <optional>
#include <string>

#include "scene-census/element/ui_element.h"

namespace tessary {

// "value": the text as is, or a number's decimal text; nothing for any other
// kind. Appends and returns true when the key is present.
bool appendValueText(const UIElement& element, std::string& out);
// "position" ("%.2f;%.2f") and "size" ("%.0f;%.0f"); "" when unset.
void appendPositionText(const UIElement& element, std::string& out);
void appendSizeText(const UIElement& element, std::string& out);
// "visible_bbox": a window's box as stored, any other element's shifted by
// its window's offset into screen coordinates.
std::optional<Box> printedVisibleBox(const UIElement& element);
// Whether "app_name" is printed.
bool printsAppName(const UIElement& element);

}  // namespace tessary
