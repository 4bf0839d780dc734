#include "scene-census/capture/selection_context.h"

#include <algorithm>
#include <array>
#include <set>
#include <string_view>

#include "common/unicode.h"

namespace tessary {

namespace {

constexpr std::string_view kFocusedElement = "AXFocusedUIElement";
constexpr std::string_view kBoundsForRange = "AXBoundsForRange";

// Label sources in order of preference, then the geometry: one round trip per
// selected item answers both its label and its rectangle.
constexpr std::array<std::string_view, 6> kItemAttributes = {
    "AXTitle", "AXDescription", "AXValue", "AXRoleDescription", "AXPosition", "AXSize"};
constexpr size_t kItemLabelCount = 4;

// Everything asked of the focused element itself, in one round trip.
constexpr std::array<std::string_view, 5> kFocusedAttributes = {
    "AXSelectedText", "AXSelectedTextRange", "AXSelectedChildren", "AXPosition", "AXSize"};

std::vector<std::optional<AXValue>> readAll(AttributeReader& reader, const AXElement& element,
                                            std::span<const std::string_view> attributes) {
  std::vector<std::optional<AXValue>> answers = reader.elementAttributes(element, attributes);
  answers.resize(attributes.size());
  return answers;
}

std::optional<std::string> labelFromAnswers(std::span<const std::optional<AXValue>> answers) {
  for (const std::optional<AXValue>& answer : answers) {
    if (!answer) continue;
    if (std::optional<std::string> label = trimmedString(answer->text())) return label;
  }
  return std::nullopt;
}

std::optional<Rect> rectFromAnswers(const std::optional<AXValue>& position,
                                    const std::optional<AXValue>& size) {
  std::optional<AXValue> point = elementValue(position, AXValueKind::point);
  std::optional<AXValue> extent = elementValue(size, AXValueKind::size);
  if (!point || !extent) return std::nullopt;
  AXPoint p = *point->point();
  AXSize s = *extent->size();
  if (!(s.width > 0 && s.height > 0)) return std::nullopt;
  return Rect{p.x, p.y, s.width, s.height};
}

std::optional<Rect> textBoundsForRange(AttributeReader& reader, const AXElement& element,
                                       const std::optional<AXValue>& rangeAnswer) {
  if (!rangeAnswer) return std::nullopt;
  std::optional<AXRange> range = rangeAnswer->range();
  if (!range || range->length == 0) return std::nullopt;
  // Parameterized reads bypass the reader; an application it gave up on is
  // not asked again.
  if (reader.applicationFrozen()) return std::nullopt;
  AXResult bounds = reader.accessibility().copyParameterizedAttributeValue(element, kBoundsForRange,
                                                                           *rangeAnswer);
  const AXValue* value = bounds.get();
  if (!value) return std::nullopt;
  std::optional<AXValue> rect = elementValue(*value, AXValueKind::rect);
  if (!rect) return std::nullopt;
  AXRect r = *rect->rect();
  if (!(r.size.width > 0 && r.size.height > 0)) return std::nullopt;
  return Rect{r.origin.x, r.origin.y, r.size.width, r.size.height};
}

std::optional<SelectedChildren> childrenContext(AttributeReader& reader,
                                                const std::optional<AXValue>& childrenAnswer) {
  std::optional<std::vector<AXElement>> children =
      childrenAnswer ? childrenAnswer->elementList() : std::nullopt;
  if (!children || children->empty()) return std::nullopt;
  std::vector<std::string> labels;
  std::set<std::string> seen;
  std::vector<Rect> rects;
  for (const AXElement& child : *children) {
    std::vector<std::optional<AXValue>> answers = readAll(reader, child, kItemAttributes);
    std::span<const std::optional<AXValue>> all(answers);
    if (std::optional<std::string> label = labelFromAnswers(all.first(kItemLabelCount))) {
      if (seen.insert(*label).second) labels.push_back(std::move(*label));
    }
    if (std::optional<Rect> rect = rectFromAnswers(answers[4], answers[5])) rects.push_back(*rect);
  }
  std::optional<Rect> bounds = unionRects(rects);
  if (!labels.empty()) {
    std::string text;
    for (size_t i = 0; i < labels.size(); ++i) {
      if (i) text += "\n";
      text += labels[i];
    }
    return SelectedChildren{std::move(text), bounds};
  }
  if (!bounds) return std::nullopt;
  return SelectedChildren{std::nullopt, bounds};
}

struct SourceApplication {
  int32_t pid = 0;
  std::optional<std::string> name;
  std::optional<std::string> bundleIdentifier;
};

std::optional<AXElement> focusedElementOf(AttributeReader& reader, const AXElement& element) {
  std::optional<AXValue> answer = reader.elementAttribute(element, kFocusedElement);
  const AXElement* focused = answer ? answer->element() : nullptr;
  if (!focused) return std::nullopt;
  return *focused;
}

SourceApplication sourceFrom(const RunningApplication& app) {
  return SourceApplication{app.pid, app.localizedName, app.bundleIdentifier};
}

}  // namespace

std::optional<std::string> trimmedString(const std::string* text) {
  if (!text) return std::nullopt;
  std::string_view trimmed = trimWhitespaceAndNewlines(*text);
  if (trimmed.empty()) return std::nullopt;
  return std::string(trimmed);
}

std::optional<std::string> selectionLabelForElement(AttributeReader& reader,
                                                    const AXElement& element) {
  std::vector<std::optional<AXValue>> answers =
      readAll(reader, element, std::span(kItemAttributes).first(kItemLabelCount));
  return labelFromAnswers(answers);
}

std::optional<Rect> elementRect(AttributeReader& reader, const AXElement& element) {
  std::vector<std::optional<AXValue>> answers =
      readAll(reader, element, std::span(kItemAttributes).subspan(kItemLabelCount));
  return rectFromAnswers(answers[0], answers[1]);
}

std::optional<Rect> unionRects(const std::vector<Rect>& rects) {
  if (rects.empty()) return std::nullopt;
  double left = rects[0].x, top = rects[0].y;
  double right = rects[0].x + rects[0].w, bottom = rects[0].y + rects[0].h;
  for (const Rect& r : rects) {
    left = std::min(left, r.x);
    top = std::min(top, r.y);
    right = std::max(right, r.x + r.w);
    bottom = std::max(bottom, r.y + r.h);
  }
  return Rect{left, top, right - left, bottom - top};
}

std::optional<Rect> selectedTextBounds(AttributeReader& reader, const AXElement& element) {
  return textBoundsForRange(reader, element,
                            reader.elementAttribute(element, "AXSelectedTextRange"));
}

std::optional<SelectedChildren> selectedChildrenContext(AttributeReader& reader,
                                                        const AXElement& element) {
  return childrenContext(reader, reader.elementAttribute(element, "AXSelectedChildren"));
}

std::optional<JsonObject> captureFocusedSelectionContext(CaptureRunState& state) {
  AttributeReader& reader = state.reader;
  Accessibility& accessibility = state.platform().accessibility;
  Workspace& workspace = state.platform().workspace;

  std::optional<SourceApplication> source;
  std::optional<AXElement> focused = focusedElementOf(reader, accessibility.systemWideElement());
  if (focused) {
    if (std::optional<int32_t> pid = accessibility.processIdentifier(*focused)) {
      for (const RunningApplication& app : workspace.runningApplications()) {
        if (app.pid == *pid) {
          source = sourceFrom(app);
          break;
        }
      }
    }
  } else {
    std::optional<RunningApplication> frontmost = workspace.frontmostApplication();
    if (!frontmost) return std::nullopt;
    focused = focusedElementOf(reader, accessibility.applicationElement(frontmost->pid));
    if (!focused) return std::nullopt;
    source = sourceFrom(*frontmost);
  }

  std::vector<std::optional<AXValue>> answers = readAll(reader, *focused, kFocusedAttributes);
  std::optional<std::string> selectedText =
      trimmedString(answers[0] ? answers[0]->text() : nullptr);
  std::optional<Rect> textBounds = textBoundsForRange(reader, *focused, answers[1]);
  std::optional<SelectedChildren> children = childrenContext(reader, answers[2]);
  std::optional<Rect> elementBox = rectFromAnswers(answers[3], answers[4]);

  std::optional<std::string> text = selectedText;
  if (!text && children) text = children->text;
  std::optional<Rect> rect = textBounds;
  if (!rect && children && children->bounds) rect = children->bounds;
  if (!rect) rect = elementBox;

  std::string kind = "focused_element";
  if (selectedText) {
    kind = "selected_text";
  } else if (children && children->text) {
    kind = "selected_children";
  }
  if (!text && !rect) return std::nullopt;

  JsonObject context;
  context.set("source_kind", kind);
  if (source) {
    if (source->name) context.set("source_app_name", *source->name);
    if (source->bundleIdentifier) {
      context.set("source_app_bundle_identifier", *source->bundleIdentifier);
    }
    context.set("source_app_pid", static_cast<int64_t>(source->pid));
  }
  if (text) context.set("text", *text);
  if (rect) {
    double left = std::min(rect->x, rect->x + rect->w);
    double right = std::max(rect->x, rect->x + rect->w);
    double top = std::min(rect->y, rect->y + rect->h);
    double bottom = std::max(rect->y, rect->y + rect->h);
    context.set("bbox", JsonArray{JsonValue(safeInt(left)), JsonValue(safeInt(top)),
                                  JsonValue(safeInt(right)), JsonValue(safeInt(bottom))});
  }
  return context;
}

}  // namespace tessary
