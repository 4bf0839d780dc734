// The full-capture object printed straight from the element records: the
// same text the suite's pretty JSON writer makes of {"elements": [toDict of
// each root], "formatted_text": markup}, without building the maps first.
// A capture of 100,000 elements would otherwise hold a map of some 1.5 KB
// per element next to the records and the text.
#pragma once

#include <memory>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "scene-census/element/ui_element.h"

namespace tessary {

// One element map with its subtree, pretty-printed with sorted keys as an
// object nested `depth` levels deep.
void appendElementJson(const UIElement& element, int depth, std::string& out);

// The whole object and one newline, written to `out` in pieces as it is
// made; `out` is flushed at the end.
void writeCaptureJson(std::ostream& out, std::span<const std::unique_ptr<UIElement>> roots,
                      std::string_view formattedText);

}  // namespace tessary
