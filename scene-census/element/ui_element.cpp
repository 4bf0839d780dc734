#include "scene-census/element/ui_element.h"

#include <array>
#include <span>
#include <unordered_map>

#include "common/stable_identifier.h"
#include "common/unicode.h"
#include "scene-census/element/bounding_boxes.h"
#include "scene-census/element/child_discovery.h"

namespace tessary {

namespace {

// Everything a record reads about itself, in one round trip. The order is the
// order in which the fields are filled.
enum ElementAttribute : size_t {
  kRole,
  kTitle,
  kEnabled,
  kFocused,
  kPosition,
  kSize,
  kDescription,
  kRoleDescription,
  kIdentifier,
  kValue,
  kElementAttributeCount
};
constexpr std::array<std::string_view, kElementAttributeCount> kElementAttributes = {
    "AXRole", "AXTitle",       "AXEnabled",         "AXFocused",    "AXPosition",
    "AXSize", "AXDescription", "AXRoleDescription", "AXIdentifier", "AXValue"};

// The five child sources, in one second round trip.
constexpr std::array<std::string_view, 5> kChildAttributes = {
    "AXVisibleChildren", "AXChildren", "AXRows", "AXContents", "AXChildrenInNavigationOrder"};

// Roles whose lists can run to many thousands of entries: their lists are
// read as slices, so at most the capped number of element references crosses
// over instead of the whole array.
bool mayHoldLongLists(std::string_view role) {
  return role == "AXTable" || role == "AXOutline" || role == "AXList" || role == "AXGrid" ||
         role == "AXBrowser";
}

// Where a row lies, read in one round trip per row when a long outline or
// table is culled.
constexpr std::array<std::string_view, 2> kRowGeometryAttributes = {"AXPosition", "AXSize"};

// How many records one live element may get in one window's tree. An element
// listed in several branches is built in each, but an application that lists
// the same elements twice at every level would make the tree double with
// every level of depth; past this many copies an element is skipped, so the
// records stay within a small multiple of the elements the application has.
constexpr int kMaxRecordsPerElement = 8;

// Outlines and tables longer than this have their off-screen rows culled
// before any record is built for them.
constexpr size_t kRowCullingThreshold = 50;

// Takes the text out of an answer the caller owns and no longer needs.
std::optional<std::string> textOf(std::optional<AXValue>& answer) {
  if (!answer) return std::nullopt;
  // The answer itself is not const; only the accessor is.
  if (std::string* text = const_cast<std::string*>(answer->text())) return std::move(*text);
  return std::nullopt;
}

std::optional<Point> pointOf(const std::optional<AXValue>& answer) {
  std::optional<AXValue> point = elementValue(answer, AXValueKind::point);
  return point ? point->point() : std::nullopt;
}

std::optional<Size> sizeOf(const std::optional<AXValue>& answer) {
  std::optional<AXValue> size = elementValue(answer, AXValueKind::size);
  return size ? size->size() : std::nullopt;
}

std::optional<AXElementList> elementListOf(const std::optional<AXValue>& answer) {
  return answer ? answer->elementList() : std::nullopt;
}

// A window's visible box taken from the window rectangles is in screen
// coordinates (its offsets are 0), while its children read the box they are
// handed as relative to the window: shift it by the window's position.
Box windowRelative(const Box& screen, const Point& windowPosition) {
  return {safeInt(static_cast<double>(screen[0]) - windowPosition.x),
          safeInt(static_cast<double>(screen[1]) - windowPosition.y),
          safeInt(static_cast<double>(screen[2]) - windowPosition.x),
          safeInt(static_cast<double>(screen[3]) - windowPosition.y)};
}

}  // namespace

// Builds one record and, recursively, its subtree. It keeps the path of
// elements from the window down to the record being built, so an application
// whose child lists lead back to an ancestor cannot make the capture loop,
// and counts the records of each element (by platform hash), so one whose
// lists repeat elements cannot make it explode.
class UIElementBuilder {
 public:
  explicit UIElementBuilder(AttributeReader& reader) : reader_(reader) {}

  void buildRoot(UIElement& record, double offsetX, double offsetY, std::optional<int> maxDepth,
                 const std::optional<Box>& parentsVisibleBBox,
                 const std::shared_ptr<const std::vector<Box>>& visibleRects) {
    path_.push_back(&record.axElement_);
    ++recordsOf_[record.axElement_.hash()];
    build(record, offsetX, offsetY, maxDepth, parentsVisibleBBox, visibleRects);
    path_.pop_back();
  }

 private:
  void build(UIElement& record, double offsetX, double offsetY, std::optional<int> maxDepth,
             const std::optional<Box>& parentsVisibleBBox,
             const std::shared_ptr<const std::vector<Box>>& visibleRects);

  std::vector<std::unique_ptr<UIElement>> getChildren(
      const UIElement& record, double offsetX, double offsetY, std::optional<int> maxDepth,
      const std::optional<Box>& visibleBBox,
      const std::shared_ptr<const std::vector<Box>>& multiRects);
  bool overlapsVisibleBox(const AXElement& row, double offsetX, double offsetY, const Box& box);
  bool onPath(const AXElement& element) const;

  AttributeReader& reader_;
  std::vector<const AXElement*> path_;
  std::unordered_map<uint64_t, int> recordsOf_;
};

void UIElementBuilder::build(UIElement& record, double offsetX, double offsetY,
                             std::optional<int> maxDepth,
                             const std::optional<Box>& parentsVisibleBBox,
                             const std::shared_ptr<const std::vector<Box>>& visibleRects) {
  record.windowOffsetX_ = offsetX;
  record.windowOffsetY_ = offsetY;
  record.windowVisibleRects_ = visibleRects;
  double childOffsetX = offsetX, childOffsetY = offsetY;

  std::vector<std::optional<AXValue>> answers =
      reader_.elementAttributes(record.axElement_, kElementAttributes);
  answers.resize(kElementAttributeCount);

  if (std::optional<std::string> role = textOf(answers[kRole])) record.role_ = std::move(*role);
  record.name_ = textOf(answers[kTitle]);
  if (answers[kEnabled]) record.enabled_ = answers[kEnabled]->truthValue().value_or(false);
  if (answers[kFocused]) record.focused_ = answers[kFocused]->truthValue().value_or(false);
  record.position_ = pointOf(answers[kPosition]);
  record.size_ = sizeOf(answers[kSize]);

  const bool isWindow = record.role_ == "AXWindow" && record.position_.has_value();
  if (isWindow) {
    childOffsetX = record.position_->x;
    childOffsetY = record.position_->y;
    record.windowOffsetX_ = 0;
    record.windowOffsetY_ = 0;
  }

  const bool visibleFromRects = record.setBBoxes(parentsVisibleBBox, visibleRects.get());
  record.visible_ = visibleByOwnBox(record.role_, record.visibleBBox_);

  record.description_ = textOf(answers[kDescription]);
  record.roleDescription_ = textOf(answers[kRoleDescription]);
  if (const AXValue* identifier = answers[kIdentifier] ? &*answers[kIdentifier] : nullptr) {
    if (const std::string* text = identifier->text()) {
      std::string_view trimmed = trimWhitespaceAndNewlines(*text);
      if (!trimmed.empty()) record.nativeIdentifier_ = std::string(trimmed);
    }
  }
  record.identifier_ = stableElementIdentifier(record.role_, record.nativeIdentifier_, record.bbox_,
                                               record.position_, record.size_, record.name_,
                                               record.description_, record.roleDescription_);
  record.value_ = std::move(answers[kValue]);

  if (!maxDepth || *maxDepth >= 1) {
    std::optional<Box> handed = record.visibleBBox_ ? record.visibleBBox_ : parentsVisibleBBox;
    if (isWindow && visibleFromRects) {
      handed = windowRelative(*record.visibleBBox_, *record.position_);
    }
    record.children_ =
        getChildren(record, childOffsetX, childOffsetY, maxDepth, handed, visibleRects);
  }

  if (!record.visible_) {
    for (const std::unique_ptr<UIElement>& child : record.children_) {
      if (!child->visible_) continue;
      record.visible_ = true;
      if (!record.visibleBBox_) record.visibleBBox_ = parentsVisibleBBox;
      break;
    }
  }
}

std::vector<std::unique_ptr<UIElement>> UIElementBuilder::getChildren(
    const UIElement& record, double offsetX, double offsetY, std::optional<int> maxDepth,
    const std::optional<Box>& visibleBBox,
    const std::shared_ptr<const std::vector<Box>>& multiRects) {
  std::vector<std::unique_ptr<UIElement>> children;
  if (!visibleBBox || !boxHasArea(*visibleBBox)) return children;

  std::vector<std::optional<AXValue>> answers = reader_.elementAttributes(
      record.axElement_, kChildAttributes,
      mayHoldLongLists(record.role_) ? ListReads::ranged : ListReads::inBatch);
  answers.resize(kChildAttributes.size());
  ChildSources sources{elementListOf(answers[0]), elementListOf(answers[1]),
                       elementListOf(answers[2]), elementListOf(answers[3]),
                       elementListOf(answers[4])};
  answers.clear();  // copied into the sources; not kept while descending
  AXElementList candidates = chooseChildCandidates(record.role_, std::move(sources));
  if (candidates.empty() || (maxDepth && *maxDepth <= 0)) return children;

  if (isCulledRole(record.role_) && candidates.size() > kRowCullingThreshold) {
    std::erase_if(candidates, [&](const AXElement& row) {
      return !overlapsVisibleBox(row, offsetX, offsetY, *visibleBBox);
    });
  }

  std::optional<int> childDepth = maxDepth ? std::optional<int>(*maxDepth - 1) : std::nullopt;
  children.reserve(candidates.size());
  for (AXElement& candidate : candidates) {
    if (onPath(candidate)) continue;
    int& records = recordsOf_[candidate.hash()];
    if (records >= kMaxRecordsPerElement) continue;
    ++records;
    auto child = std::unique_ptr<UIElement>(new UIElement(std::move(candidate)));
    path_.push_back(&child->axElement_);
    build(*child, offsetX, offsetY, childDepth, visibleBBox, multiRects);
    path_.pop_back();
    if (!child->position_ && child->children_.empty()) continue;
    children.push_back(std::move(child));
  }
  return children;
}

bool UIElementBuilder::overlapsVisibleBox(const AXElement& row, double offsetX, double offsetY,
                                          const Box& box) {
  std::vector<std::optional<AXValue>> answers =
      reader_.elementAttributes(row, kRowGeometryAttributes);
  answers.resize(kRowGeometryAttributes.size());
  std::optional<Point> position = pointOf(answers[0]);
  std::optional<Size> size = sizeOf(answers[1]);
  if (!position || !size) return false;
  double x = position->x - offsetX, y = position->y - offsetY;
  int64_t left = safeInt(x), top = safeInt(y);
  int64_t right = safeInt(x + size->width), bottom = safeInt(y + size->height);
  return left <= box[2] && top <= box[3] && right >= box[0] && bottom >= box[1];
}

bool UIElementBuilder::onPath(const AXElement& element) const {
  for (const AXElement* ancestor : path_) {
    if (sameAXElement(*ancestor, element)) return true;
  }
  return false;
}

bool UIElement::setBBoxes(const std::optional<Box>& parentsVisibleBBox,
                          const std::vector<Box>* multiRects) {
  ElementBoxes boxes = computeBoxes(role_, position_, size_, windowOffsetX_, windowOffsetY_,
                                    parentsVisibleBBox, multiRects);
  bbox_ = boxes.bbox;
  visibleBBox_ = boxes.visibleBBox;
  return boxes.visibleSource == VisibleBoxSource::windowRects;
}

UIElement::UIElement(AttributeReader& reader, AXElement element, double offsetX, double offsetY,
                     std::optional<int> maxDepth, std::optional<Box> parentsVisibleBBox,
                     std::optional<std::vector<Box>> visibleRects)
    : axElement_(std::move(element)) {
  std::shared_ptr<const std::vector<Box>> rects;
  if (visibleRects) rects = std::make_shared<const std::vector<Box>>(std::move(*visibleRects));
  UIElementBuilder(reader).buildRoot(*this, offsetX, offsetY, maxDepth, parentsVisibleBBox, rects);
}

}  // namespace tessary
