// One captured accessibility element and its captured subtree. Construction
// does all the reading; afterwards the record is plain data.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/geometry.h"
#include "common/json.h"
#include "platform/attribute_reader.h"
#include "platform/ax_value.h"

namespace tessary {

class UIElement {
 public:
  // Reads the element, computes its boxes, visibility and identifier, then
  // builds its children (depth and visibility permitting).
  UIElement(AttributeReader& reader, AXElement element, double offsetX, double offsetY,
            std::optional<int> maxDepth, std::optional<Box> parentsVisibleBBox,
            std::optional<std::vector<Box>> visibleRects);

  UIElement(const UIElement&) = delete;
  UIElement& operator=(const UIElement&) = delete;

  // Field accessors.
  const AXElement& axElement() const { return axElement_; }
  const std::string& identifier() const { return identifier_; }
  const std::optional<std::string>& nativeIdentifier() const { return nativeIdentifier_; }
  const std::optional<std::string>& name() const { return name_; }
  const std::string& role() const { return role_; }
  const std::optional<std::string>& roleDescription() const { return roleDescription_; }
  const std::optional<std::string>& description() const { return description_; }
  const std::optional<AXValue>& value() const { return value_; }
  bool enabled() const { return enabled_; }
  bool focused() const { return focused_; }
  const std::optional<Point>& position() const { return position_; }
  const std::optional<Size>& size() const { return size_; }
  const std::optional<Box>& bbox() const { return bbox_; }
  const std::optional<Box>& visibleBBox() const { return visibleBBox_; }
  bool visible() const { return visible_; }
  const std::vector<std::unique_ptr<UIElement>>& children() const { return children_; }
  const std::optional<std::string>& appName() const { return appName_; }
  void setAppName(std::optional<std::string> appName) { appName_ = std::move(appName); }
  double windowOffsetX() const { return windowOffsetX_; }
  double windowOffsetY() const { return windowOffsetY_; }
  // The containing window's unobscured rectangles, shared by every record of
  // the window; nullptr when none were given.
  const std::vector<Box>* windowVisibleRects() const { return windowVisibleRects_.get(); }

  // The element map of the capture JSON, with its whole subtree.
  JsonObject toDict() const;
  // The name for the markup's name attribute, if any.
  std::optional<std::string> serializationName(int maxLength = 100,
                                               bool includeRoleFallback = false) const;
  // The markup of this element and its rendered descendants.
  std::string toCompactText(int indent) const;
  void appendCompactText(int indent, std::string& out) const;

 private:
  friend class UIElementBuilder;
  // A record the builder fills in.
  explicit UIElement(AXElement element) : axElement_(std::move(element)) {}
  // Sets `bbox` and `visibleBBox` from the position, size, role and offsets
  // read so far; true when the visible box came from the window's
  // rectangles (and is then in screen coordinates for a window).
  bool setBBoxes(const std::optional<Box>& parentsVisibleBBox, const std::vector<Box>* multiRects);

  AXElement axElement_;
  std::string identifier_;
  std::optional<std::string> nativeIdentifier_;
  std::optional<std::string> name_;
  std::string role_ = "No role";
  std::optional<std::string> roleDescription_;
  std::optional<std::string> description_;
  std::optional<AXValue> value_;
  bool enabled_ = false;
  bool focused_ = false;
  std::optional<Point> position_;
  std::optional<Size> size_;
  std::optional<Box> bbox_;
  std::optional<Box> visibleBBox_;
  bool visible_ = false;
  std::vector<std::unique_ptr<UIElement>> children_;
  std::optional<std::string> appName_;
  double windowOffsetX_ = 0;
  double windowOffsetY_ = 0;
  std::shared_ptr<const std::vector<Box>> windowVisibleRects_;
};

// The markup's escaping: & < > " ' as entities.
std::string escapeXML(std::string_view text);
void appendEscapedXML(std::string_view text, std::string& out);

}  // namespace tessary
