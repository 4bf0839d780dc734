#include <string>
#include <string_view>

#include "scene-census/element/ui_element.h"

namespace tessary {

// One pass with the same result as replacing &, <, >, " and ' one after
// another, ampersand first: no entity is ever escaped twice.
void appendEscapedXML(std::string_view text, std::string& out) {
  size_t runStart = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    std::string_view entity;
    switch (text[i]) {
      case '&':
        entity = "&amp;";
        break;
      case '<':
        entity = "&lt;";
        break;
      case '>':
        entity = "&gt;";
        break;
      case '"':
        entity = "&quot;";
        break;
      case '\'':
        entity = "&#39;";
        break;
      default:
        continue;
    }
    out.append(text.substr(runStart, i - runStart));
    out.append(entity);
    runStart = i + 1;
  }
  out.append(text.substr(runStart));
}

std::string escapeXML(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  appendEscapedXML(text, out);
  return out;
}

}  // namespace tessary
