// The markup of a captured subtree: one line-oriented, HTML-like text that
// the assistant's language model reads as the window's description.
#include <cmath>
#include <string>
#include <string_view>

#include "common/unicode.h"
#include "scene-census/element/ui_element.h"
#include "scene-census/serialize/number_text.h"

namespace tessary {

namespace {

constexpr int kMarkupNameLength = 100;
// Group names longer than the name attribute takes are written as content.
constexpr size_t kLongGroupName = 101;

struct TagInfo {
  std::string_view tag;
  bool actionable = false;  // gets an id and may fall back to its role description
};

TagInfo tagForRole(std::string_view role) {
  struct Entry {
    std::string_view role;
    TagInfo info;
  };
  static constexpr Entry kTags[] = {
      {"AXButton", {"button", true}},
      {"AXTextField", {"input", true}},
      {"AXTextArea", {"input", true}},
      {"AXSearchField", {"input", true}},
      {"AXSecureTextField", {"input", true}},
      {"AXPopUpButton", {"dropdown", true}},
      {"AXComboBox", {"combobox", true}},
      {"AXMenuItem", {"menuitem", true}},
      {"AXMenuBarItem", {"menubutton", true}},
      {"AXMenuButton", {"menubutton", true}},
      {"AXCheckBox", {"checkbox", true}},
      {"AXRadioButton", {"radio", true}},
      {"AXLink", {"link", true}},
      {"AXSlider", {"slider", true}},
      {"AXDateField", {"date", true}},
      {"AXTimeField", {"time", true}},
      {"AXStaticText", {"text", false}},
      {"AXMenu", {"menu", false}},
      {"AXMenuBar", {"menu", false}},
      {"AXProgressIndicator", {"progress", false}},
      {"AXTable", {"table", false}},
      {"AXRow", {"tr", false}},
      {"AXCell", {"td", false}},
      {"AXWindow", {"window", false}},
      {"AXWebArea", {"webarea", false}},
  };
  for (const Entry& entry : kTags) {
    if (entry.role == role) return entry.info;
  }
  return {"div", false};
}

bool isDroppedRole(std::string_view role) {
  return role == "AXIncrementor" || role == "AXScrollBar" || role == "AXValueIndicator";
}

bool isWrapperRole(std::string_view role) {
  return role == "AXGroup" || role == "AXScrollArea";
}

bool isLeafTag(std::string_view tag) {
  return tag == "radio" || tag == "checkbox" || tag == "button" || tag == "slider" ||
         tag == "progress";
}

bool emptyOrUnset(const std::optional<std::string>& text) {
  return !text || text->empty();
}

// "h1" to "h6" for a heading whose value is a level, "h" otherwise.
std::string_view headingTag(const std::optional<AXValue>& value) {
  static constexpr std::string_view kLevels[] = {"h1", "h2", "h3", "h4", "h5", "h6"};
  std::optional<double> number = value ? value->number() : std::nullopt;
  if (!number || !(*number >= 1 && *number < 7)) return "h";
  return kLevels[static_cast<int>(*number) - 1];
}

// Grapheme clusters are only counted when the byte length leaves a doubt:
// a text never has more characters than bytes.
bool atMostCharacters(std::string_view text, size_t limit) {
  return text.size() <= limit || graphemeClusterCount(text) <= limit;
}

bool atLeastCharacters(std::string_view text, size_t limit) {
  return text.size() >= limit && graphemeClusterCount(text) >= limit;
}

void appendIndent(int indent, std::string& out) {
  out.append(2 * static_cast<size_t>(indent), ' ');
}

}  // namespace

std::optional<std::string> UIElement::serializationName(int maxLength,
                                                        bool includeRoleFallback) const {
  size_t limit = maxLength < 0 ? 0 : static_cast<size_t>(maxLength);
  if (name_) {
    std::string_view trimmed = trimWhitespaceAndNewlines(*name_);
    if (!trimmed.empty() && atMostCharacters(trimmed, limit)) return std::string(trimmed);
  }
  if (includeRoleFallback && roleDescription_) {
    std::string_view trimmed = trimWhitespaceAndNewlines(*roleDescription_);
    if (!trimmed.empty() && atMostCharacters(trimmed, limit)) return std::string(trimmed);
  }
  return std::nullopt;
}

std::string UIElement::toCompactText(int indent) const {
  std::string out;
  appendCompactText(indent, out);
  return out;
}

void UIElement::appendCompactText(int indent, std::string& out) const {
  if (isDroppedRole(role_)) return;

  const UIElement* onlyVisibleChild = nullptr;
  size_t visibleChildren = 0;
  for (const std::unique_ptr<UIElement>& child : children_) {
    if (!child->visible_) continue;
    if (++visibleChildren == 1) onlyVisibleChild = child.get();
  }

  // A nameless wrapper around a single wrapper says nothing of its own.
  if (isWrapperRole(role_) && visibleChildren == 1 && isWrapperRole(onlyVisibleChild->role_) &&
      emptyOrUnset(name_) && emptyOrUnset(description_)) {
    onlyVisibleChild->appendCompactText(indent, out);
    return;
  }

  const bool isHeading = role_ == "AXHeading";
  const TagInfo info = isHeading ? TagInfo{headingTag(value_), false} : tagForRole(role_);
  const std::string_view tag = info.tag;
  const bool isLeaf = isLeafTag(tag);

  // Everything is written straight into `out`; what turns out not to be
  // wanted (an empty container, an empty content) is cut off again.
  const size_t start = out.size();
  appendIndent(indent, out);
  out += '<';
  out += tag;

  // Headings carry no attributes at all.
  const size_t attributesStart = out.size();
  if (!isHeading) {
    if (info.actionable) {
      out += " id=\"";
      out += identifier_;
      out += '"';
    }
    if (std::optional<std::string> name = serializationName(kMarkupNameLength, info.actionable)) {
      out += " name=\"";
      appendEscapedXML(*name, out);
      out += '"';
    }
    if (!emptyOrUnset(description_)) {
      out += " alt=\"";
      appendEscapedXML(*description_, out);
      out += '"';
    }
    if ((tag == "slider" || tag == "progress") && value_ && value_->isNumber()) {
      out += " value=\"";
      appendNumberText(*value_, out);
      out += '"';
    }
    if ((tag == "radio" || tag == "checkbox") && value_) {
      std::optional<double> number = value_->number();
      if (number && std::trunc(*number) != 0) out += " checked";
    }
  }
  const bool hasAttributes = out.size() > attributesStart;

  if (tag == "date" || tag == "time") {
    out += "/>\n";
    return;
  }

  const size_t openEnd = out.size();
  out += '>';
  const size_t contentStart = out.size();
  if (isHeading) {
    if (!emptyOrUnset(name_)) appendEscapedXML(*name_, out);
  } else if (tag != "slider" && tag != "progress" && tag != "radio" && tag != "checkbox") {
    if (value_) {
      if (const std::string* text = value_->text()) {
        appendEscapedXML(*text, out);
      } else {
        appendNumberText(*value_, out);
      }
    }
    if (isWrapperRole(role_) && out.size() == contentStart && name_ &&
        atLeastCharacters(*name_, kLongGroupName)) {
      appendEscapedXML(*name_, out);
    }
  }
  const bool hasContent = out.size() > contentStart;

  auto closeTag = [&] {
    out += "</";
    out += tag;
    out += ">\n";
  };

  if (isHeading) {
    closeTag();
    return;
  }
  if (isLeaf || visibleChildren == 0) {
    // An empty container says nothing; an id alone does not make it worth a
    // line, and a "div" never has one.
    if (tag == "div" && !hasContent && !hasAttributes) {
      out.resize(start);
      return;
    }
    if (hasContent) {
      closeTag();
    } else {
      out.resize(openEnd);
      out += "/>\n";
    }
    return;
  }

  // A container: the content goes on its own line, one level deeper.
  if (hasContent) {
    std::string lineStart = "\n";
    lineStart.append(2 * static_cast<size_t>(indent) + 2, ' ');
    out.insert(contentStart, lineStart);
  }
  out += '\n';
  for (const std::unique_ptr<UIElement>& child : children_) {
    if (child->visible_) child->appendCompactText(indent + 1, out);
  }
  appendIndent(indent, out);
  closeTag();
}

}  // namespace tessary
