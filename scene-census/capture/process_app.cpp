#include "scene-census/capture/process_app.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string>
#include <string_view>
#include <unordered_set>

#include "common/unicode.h"
#include "scene-census/capture/log_line.h"
#include "scene-census/capture/web_activation.h"
#include "scene-census/capture/window_titles.h"

namespace tessary {

namespace {

// Pairing prefers a title match over any amount of overlap.
constexpr double kTitleBonus = 10;
// With every window included, an untitled pairing must overlap this much.
constexpr double kMinimumUntitledIou = 0.35;
constexpr std::string_view kBackgroundTitle = "Background";

// Title, position and size of each window are read in one round trip, and the
// answers serve both the choice of the window and its pairing.
constexpr std::array<std::string_view, 3> kWindowAttributes = {"AXTitle", "AXPosition", "AXSize"};

struct AXWindow {
  AXElement element;
  std::optional<std::string> title;  // "AXTitle" when it is text
  std::optional<Rect> frame;         // when both position and size are there
};

AXWindow readWindow(AttributeReader& reader, AXElement element) {
  AXWindow window;
  window.element = std::move(element);
  std::vector<std::optional<AXValue>> answers = reader.elementAttributes(
      window.element, std::span<const std::string_view>(kWindowAttributes));
  answers.resize(kWindowAttributes.size());
  // Kept by value: the records are moved into a vector.
  if (const std::string* text = answers[0] ? answers[0]->text() : nullptr) window.title = *text;
  std::optional<AXValue> position = elementValue(answers[1], AXValueKind::point);
  std::optional<AXValue> size = elementValue(answers[2], AXValueKind::size);
  std::optional<AXPoint> point = position ? position->point() : std::nullopt;
  std::optional<AXSize> extent = size ? size->size() : std::nullopt;
  if (point && extent) window.frame = Rect{point->x, point->y, extent->width, extent->height};
  return window;
}

std::string_view trimmedTitle(const AXWindow& window) {
  return window.title ? trimWhitespaceAndNewlines(*window.title) : std::string_view();
}

std::string formatBoxList(const std::vector<Box>& boxes) {
  std::string text = "[";
  for (size_t i = 0; i < boxes.size(); ++i) {
    if (i) text += ", ";
    text += "[";
    for (size_t j = 0; j < 4; ++j) {
      if (j) text += ", ";
      text += std::to_string(boxes[i][j]);
    }
    text += "]";
  }
  return text + "]";
}

// The window the target was taken from: best overlap with the target's bounds,
// plus the bonus when the titles are the same. Nothing when no window has a
// frame to compare.
std::optional<size_t> windowMatchingTarget(const std::vector<AXWindow>& windows,
                                           const WindowInfo& target) {
  std::string_view targetTitle = trimWhitespaceAndNewlines(target.name);
  std::optional<size_t> best;
  double bestScore = -std::numeric_limits<double>::infinity();
  for (size_t i = 0; i < windows.size(); ++i) {
    if (!windows[i].frame) continue;
    double score = iou(*windows[i].frame, target.bounds) +
                   (trimmedTitle(windows[i]) == targetTitle ? kTitleBonus : 0);
    if (score > bestScore) {
      bestScore = score;
      best = i;
    }
  }
  return best;
}

// The index entries of the application with their titles prepared for
// comparison on first use.
class PidEntries {
 public:
  PidEntries(GlobalVisibleIndex& index, int32_t pid) : index_(index) {
    for (size_t i = 0; i < index.size(); ++i) {
      if (index.window(i).pid == pid) indices_.push_back(i);
    }
    titles_.resize(indices_.size());
  }

  size_t size() const { return indices_.size(); }
  size_t indexOf(size_t k) const { return indices_[k]; }
  const WindowInfo& window(size_t k) const { return index_.window(indices_[k]); }
  const ComparableTitle& title(size_t k) {
    if (!titles_[k]) titles_[k] = comparableTitle(window(k).name);
    return *titles_[k];
  }

 private:
  GlobalVisibleIndex& index_;
  std::vector<size_t> indices_;
  std::vector<std::optional<ComparableTitle>> titles_;
};

std::optional<std::string> applicationName(CaptureRunState& state, int32_t pid) {
  for (const RunningApplication& app : state.platform().workspace.runningApplications()) {
    if (app.pid == pid) return app.localizedName;
  }
  return "PID " + std::to_string(pid);
}

}  // namespace

std::vector<std::unique_ptr<UIElement>> processApp(CaptureRunState& state, int32_t pid,
                                                   int maxDepth, GlobalVisibleIndex& globalVisIndex,
                                                   const std::optional<WindowInfo>& targetWindow) {
  std::vector<std::unique_ptr<UIElement>> roots;
  std::ostream& err = state.context.err;
  AttributeReader& reader = state.reader;

  AXElement app = state.platform().accessibility.applicationElement(pid);
  activateAccessibilityForWebContent(state, pid, app);
  requestExpandedSceneCensus(state, app);

  std::optional<AXValue> windowsAnswer = reader.elementAttribute(app, "AXWindows");
  std::optional<std::vector<AXElement>> windowElements =
      windowsAnswer ? windowsAnswer->elementList() : std::nullopt;
  if (!windowElements || windowElements->empty()) return roots;

  PidEntries pidVisible(globalVisIndex, pid);
  const Environment& environment = state.environment();
  bool includeAll = environmentEquals(environment, kFormTestsModeVariable, "true") ||
                    environmentEquals(environment, kIncludeAllAXWindowsVariable, "true");

  std::vector<AXWindow> windows;
  windows.reserve(windowElements->size());
  for (AXElement& element : *windowElements)
    windows.push_back(readWindow(reader, std::move(element)));

  std::vector<const AXWindow*> toCapture;
  if (includeAll) {
    for (const AXWindow& window : windows) {
      if (trimmedTitle(window) != kBackgroundTitle) toCapture.push_back(&window);
    }
    writeLine(err,
              "DEBUG: FORM_TESTS_INCLUDE_ALL_AX_WINDOWS active, processing all visible windows "
              "for PID " +
                  std::to_string(pid));
  } else if (targetWindow) {
    if (std::optional<size_t> best = windowMatchingTarget(windows, *targetWindow)) {
      toCapture.push_back(&windows[*best]);
      writeLine(err,
                "DEBUG: Restricting AX traversal to top window '" +
                    (targetWindow->name.empty() ? std::string("(untitled)") : targetWindow->name) +
                    "' for PID " + std::to_string(pid));
    }
  }
  if (toCapture.empty() && !includeAll) {
    for (const AXWindow& window : windows)
      toCapture.push_back(&window);
  }

  std::optional<std::optional<std::string>> appName;
  // An application may list one window many times; each copy would be the
  // same tree again, so a window (by platform hash) is captured once.
  std::unordered_set<uint64_t> capturedWindows;
  for (const AXWindow* window : toCapture) {
    // The frames were read before the choice; a window whose frame read would
    // come after the application stopped answering has none, and is skipped
    // like any window without one instead of being built from earlier
    // answers into an empty record.
    if (reader.applicationFrozen()) break;
    if (!capturedWindows.insert(window->element.hash()).second) continue;
    if (!window->frame) continue;
    const Rect& frame = *window->frame;
    ComparableTitle title = comparableTitle(trimmedTitle(*window));

    std::optional<size_t> match;
    double bestScore = -std::numeric_limits<double>::infinity();
    for (size_t k = 0; k < pidVisible.size(); ++k) {
      double score = iou(frame, pidVisible.window(k).bounds) +
                     (titlesRoughlyMatch(title, pidVisible.title(k)) ? kTitleBonus : 0);
      if (score > bestScore) {
        bestScore = score;
        match = k;
      }
    }
    if (!match) continue;
    const WindowInfo& matched = pidVisible.window(*match);

    if (includeAll && !titlesRoughlyMatch(title, pidVisible.title(*match))) {
      bool eitherUntitled =
          trimmedTitle(*window).empty() || trimWhitespaceAndNewlines(matched.name).empty();
      if (!(iou(frame, matched.bounds) >= kMinimumUntitledIou && eitherUntitled)) continue;
    }

    const std::vector<Rect>& pieces = globalVisIndex.visible(pidVisible.indexOf(*match));
    std::vector<Box> visibleRects;
    for (const Rect& r : pieces) {
      Box box{safeInt(r.x), safeInt(r.y), safeInt(r.x + r.w), safeInt(r.y + r.h)};
      if (box[0] < box[2] && box[1] < box[3]) visibleRects.push_back(box);
    }
    if (visibleRects.empty()) continue;

    double unionLeft = pieces[0].x, unionTop = pieces[0].y;
    double unionRight = pieces[0].x + pieces[0].w, unionBottom = pieces[0].y + pieces[0].h;
    for (const Rect& r : pieces) {
      unionLeft = std::min(unionLeft, r.x);
      unionTop = std::min(unionTop, r.y);
      unionRight = std::max(unionRight, r.x + r.w);
      unionBottom = std::max(unionBottom, r.y + r.h);
    }
    double left = std::max(frame.x, unionLeft);
    double top = std::max(frame.y, unionTop);
    double right = std::min(frame.x + frame.w, unionRight);
    double bottom = std::min(frame.y + frame.h, unionBottom);
    if (!(left < right && top < bottom)) continue;
    Box parentsVisibleBBox{safeInt(left - frame.x), safeInt(top - frame.y),
                           safeInt(right - frame.x), safeInt(bottom - frame.y)};

    writeLine(err, "DEBUG WINDOW: '" + (window->title ? *window->title : std::string("untitled")) +
                       "' has " + std::to_string(visibleRects.size()) +
                       " visible rects (screen coords): " + formatBoxList(visibleRects));

    auto root = std::make_unique<UIElement>(reader, window->element, 0.0, 0.0, maxDepth,
                                            parentsVisibleBBox, std::move(visibleRects));
    if (!appName) appName = applicationName(state, pid);
    root->setAppName(*appName);
    roots.push_back(std::move(root));
  }
  return roots;
}

}  // namespace tessary
