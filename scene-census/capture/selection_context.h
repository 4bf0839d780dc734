// What the user has selected in the focused element of the focused
// application: selected text, the labels of selected rows or items, or just
// the focused element, with where it is on screen and whose it is.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/geometry.h"
#include "common/json.h"
#include "scene-census/capture/run_state.h"

namespace tessary {

// The "selection_context" map, or nothing when no focused element can be
// found or neither a text nor a rectangle can be told.
std::optional<JsonObject> captureFocusedSelectionContext(CaptureRunState& state);

// Trimmed of whitespace and line breaks; nothing when nothing remains.
std::optional<std::string> trimmedString(const std::string* text);
// The first non-empty text of "AXTitle", "AXDescription", "AXValue" and
// "AXRoleDescription".
std::optional<std::string> selectionLabelForElement(AttributeReader& reader,
                                                    const AXElement& element);
// "AXPosition" and "AXSize" as a rectangle with positive width and height.
std::optional<Rect> elementRect(AttributeReader& reader, const AXElement& element);
std::optional<Rect> unionRects(const std::vector<Rect>& rects);
// The screen rectangle of the selected text; nothing for a bare caret.
std::optional<Rect> selectedTextBounds(AttributeReader& reader, const AXElement& element);

struct SelectedChildren {
  std::optional<std::string> text;  // the distinct labels, one a line
  std::optional<Rect> bounds;
};
std::optional<SelectedChildren> selectedChildrenContext(AttributeReader& reader,
                                                        const AXElement& element);

}  // namespace tessary
