#include "platform/fake/fake_compositor.h"

#include <algorithm>
#include <cmath>

#include "platform/fake/fake_state.h"
#include "platform/fake/value_text.h"

namespace tessary::fake {

namespace {

std::string rectText(const Rect& r) {
  return numberText(r.x) + " " + numberText(r.y) + " " + numberText(r.w) + " " + numberText(r.h);
}

// Core Animation's named timing functions as their cubic Bézier curves.
double timingProgress(std::string_view name, double t) {
  double x1 = 0.25, y1 = 0.1, x2 = 0.25, y2 = 1;  // default
  if (name == "linear") return t;
  if (name == "easeIn") x1 = 0.42, y1 = 0, x2 = 1, y2 = 1;
  if (name == "easeOut") x1 = 0, y1 = 0, x2 = 0.58, y2 = 1;
  if (name == "easeInEaseOut") x1 = 0.42, y1 = 0, x2 = 0.58, y2 = 1;
  auto bezier = [](double a, double b, double s) {
    return 3 * a * s * (1 - s) * (1 - s) + 3 * b * s * s * (1 - s) + s * s * s;
  };
  double lo = 0, hi = 1;
  for (int i = 0; i < 60; ++i) {
    const double mid = (lo + hi) / 2;
    (bezier(x1, x2, mid) < t ? lo : hi) = mid;
  }
  return bezier(y1, y2, (lo + hi) / 2);
}

}  // namespace

FakeBandWindow* FakeCompositor::find(CompositorWindowId id) {
  if (id == 0 || id > windows_.size()) return nullptr;
  FakeBandWindow& window = windows_[id - 1];
  return window.released ? nullptr : &window;
}

const FakeBandWindow* FakeCompositor::window(CompositorWindowId id) const {
  return id == 0 || id > windows_.size() ? nullptr : &windows_[id - 1];
}

std::string FakeCompositor::nameOf(CompositorWindowId id) const {
  return "band" + std::to_string(id);
}

CompositorWindowId FakeCompositor::createBandWindow(const BandWindowConfig& config) {
  FakeBandWindow& window = windows_.emplace_back();
  window.id = windows_.size();
  window.config = config;
  window.frame = config.contentRect;
  window.material = config.material;
  window.viewFrame = config.viewFrame;
  // A layer-backed view's alpha is its layer's opacity.
  window.alpha = config.alpha;
  window.opacity = static_cast<float>(config.alpha);
  state_.recorder.record("createBandWindow", nameOf(window.id), [&] {
    return rectText(config.contentRect) + " level=" + std::to_string(config.level) +
           " material=" + std::to_string(config.material);
  });
  return window.id;
}

void FakeCompositor::releaseWindow(CompositorWindowId id) {
  state_.recorder.record("releaseWindow", nameOf(id));
  if (FakeBandWindow* window = find(id)) {
    for (const auto& [key, animation] : window->animations)
      finishAnimation(animation);
    window->animations.clear();
    // Its last state stays readable: a run's windows are released as it ends.
    window->released = true;
  }
}

Rect FakeCompositor::windowFrame(CompositorWindowId id) {
  FakeBandWindow* window = find(id);
  return window ? window->frame : Rect{};
}

void FakeCompositor::setWindowFrame(CompositorWindowId id, const Rect& frame, bool display,
                                    bool animate) {
  state_.recorder.record("setWindowFrame", nameOf(id), [&] {
    return rectText(frame) + " display=" + (display ? "true" : "false") +
           " animate=" + (animate ? "true" : "false");
  });
  if (FakeBandWindow* window = find(id)) window->frame = frame;
}

bool FakeCompositor::isWindowVisible(CompositorWindowId id) {
  FakeBandWindow* window = find(id);
  return window && window->visible;
}

void FakeCompositor::orderFrontRegardless(CompositorWindowId id) {
  state_.recorder.record("orderFrontRegardless", nameOf(id));
  if (FakeBandWindow* window = find(id)) {
    window->visible = true;
    window->closed = false;
    window->stackOrder = ++stackCounter_;
  }
}

void FakeCompositor::orderOut(CompositorWindowId id) {
  state_.recorder.record("orderOut", nameOf(id));
  if (FakeBandWindow* window = find(id)) window->visible = false;
}

void FakeCompositor::closeWindow(CompositorWindowId id) {
  state_.recorder.record("closeWindow", nameOf(id));
  if (FakeBandWindow* window = find(id)) {
    window->visible = false;
    window->closed = true;
  }
}

double FakeCompositor::backingScaleFactor(CompositorWindowId) {
  return scaleFactor;
}

int FakeCompositor::viewMaterial(CompositorWindowId id) {
  FakeBandWindow* window = find(id);
  return window ? window->material : 0;
}

void FakeCompositor::setViewMaterial(CompositorWindowId id, int material) {
  state_.recorder.record("setViewMaterial", nameOf(id), [&] { return std::to_string(material); });
  if (FakeBandWindow* window = find(id)) window->material = material;
}

double FakeCompositor::viewAlpha(CompositorWindowId id) {
  FakeBandWindow* window = find(id);
  return window ? window->alpha : 0;
}

void FakeCompositor::setViewAlpha(CompositorWindowId id, double alpha) {
  if (FakeBandWindow* window = find(id)) {
    window->alpha = alpha;
    window->opacity = static_cast<float>(alpha);
  }
}

Rect FakeCompositor::viewFrame(CompositorWindowId id) {
  FakeBandWindow* window = find(id);
  return window ? window->viewFrame : Rect{};
}

void FakeCompositor::setViewFrame(CompositorWindowId id, const Rect& frame) {
  state_.recorder.record("setViewFrame", nameOf(id), [&] { return rectText(frame); });
  if (FakeBandWindow* window = find(id)) window->viewFrame = frame;
}

Rect FakeCompositor::viewBounds(CompositorWindowId id) {
  FakeBandWindow* window = find(id);
  return window ? Rect{0, 0, window->viewFrame.w, window->viewFrame.h} : Rect{};
}

bool FakeCompositor::viewHasLayer(CompositorWindowId id) {
  FakeBandWindow* window = find(id);
  return window && window->config.wantsLayer;
}

float FakeCompositor::layerOpacity(CompositorWindowId id) {
  FakeBandWindow* window = find(id);
  return window ? window->opacity : 0;
}

void FakeCompositor::setLayerOpacity(CompositorWindowId id, float opacity) {
  if (FakeBandWindow* window = find(id)) window->opacity = opacity;
}

std::optional<float> FakeCompositor::presentationOpacity(CompositorWindowId id) {
  FakeBandWindow* window = find(id);
  if (!window) return std::nullopt;
  return static_cast<float>(shownOpacity(id));
}

double FakeCompositor::shownOpacity(CompositorWindowId id) const {
  const FakeBandWindow* window = this->window(id);
  if (!window) return 0;
  for (const auto& [key, animation] : window->animations) {
    const double t =
        animation.duration > 0
            ? std::clamp((state_.elapsed - animation.start) / animation.duration, 0.0, 1.0)
            : 1.0;
    return animation.from +
           (animation.to - animation.from) * timingProgress(animation.timingFunction, t);
  }
  return window->opacity;
}

void FakeCompositor::removeLayerAnimation(CompositorWindowId id, std::string_view key) {
  state_.recorder.record("removeLayerAnimation", nameOf(id), key);
  FakeBandWindow* window = find(id);
  if (!window) return;
  auto it = window->animations.find(key);
  if (it == window->animations.end()) return;
  FakeOpacityAnimation animation = std::move(it->second);
  window->animations.erase(it);
  finishAnimation(animation);
}

void FakeCompositor::addOpacityAnimation(CompositorWindowId id, std::string_view key, float from,
                                         float to, double duration,
                                         std::string_view timingFunctionName) {
  state_.recorder.record("addOpacityAnimation", nameOf(id), [&] {
    return std::string(key) + " " + numberText(from) + " -> " + numberText(to) + " " +
           numberText(duration) + "s " + std::string(timingFunctionName);
  });
  FakeBandWindow* window = find(id);
  if (!window) return;
  // Replaces the animation under the key, which counts as removed.
  if (auto old = window->animations.find(key); old != window->animations.end()) {
    FakeOpacityAnimation replaced = std::move(old->second);
    window->animations.erase(old);
    finishAnimation(replaced);
  }
  FakeOpacityAnimation animation{from,
                                 to,
                                 state_.elapsed,
                                 duration,
                                 std::string(timingFunctionName),
                                 ++animationSerial_,
                                 openTransactions_};
  for (uint64_t transaction : openTransactions_)
    ++transactions_[transaction].outstanding;
  const uint64_t serial = animation.serial;
  window->animations.emplace(std::string(key), std::move(animation));
  // Removed on completion.
  state_.backgroundApplication.scheduleAfter(duration, [this, id, name = std::string(key), serial] {
    FakeBandWindow* owner = find(id);
    if (!owner) return;
    auto it = owner->animations.find(name);
    if (it == owner->animations.end() || it->second.serial != serial) return;
    FakeOpacityAnimation done = std::move(it->second);
    owner->animations.erase(it);
    finishAnimation(done);
  });
}

void FakeCompositor::setLayerMask(CompositorWindowId id, double contentsScale, MaskImage image) {
  state_.recorder.record("setLayerMask", nameOf(id), [&] {
    return std::to_string(image.width) + "x" + std::to_string(image.height) +
           " scale=" + numberText(contentsScale);
  });
  if (FakeBandWindow* window = find(id)) {
    window->mask = FakeMask{contentsScale, viewBounds(id), std::move(image)};
    ++window->maskInstalls;
  }
}

void FakeCompositor::beginTransaction() {
  state_.recorder.record("beginTransaction");
  const uint64_t id = ++transactionSerial_;
  transactions_[id];
  openTransactions_.push_back(id);
}

void FakeCompositor::setTransactionDisableActions(bool disable) {
  state_.recorder.record("setTransactionDisableActions", "",
                         std::string_view(disable ? "true" : "false"));
}

void FakeCompositor::setTransactionCompletion(std::function<void()> completion) {
  if (openTransactions_.empty()) return;
  transactions_[openTransactions_.back()].completion = std::move(completion);
}

void FakeCompositor::commitTransaction() {
  state_.recorder.record("commitTransaction");
  if (openTransactions_.empty()) return;
  const uint64_t id = openTransactions_.back();
  openTransactions_.pop_back();
  transactions_[id].committed = true;
  settle(id);
}

void FakeCompositor::finishAnimation(const FakeOpacityAnimation& animation) {
  for (uint64_t transaction : animation.transactions) {
    auto it = transactions_.find(transaction);
    if (it == transactions_.end()) continue;
    --it->second.outstanding;
    settle(transaction);
  }
}

void FakeCompositor::settle(uint64_t id) {
  auto it = transactions_.find(id);
  if (it == transactions_.end() || !it->second.committed || it->second.outstanding > 0) return;
  std::function<void()> completion = std::move(it->second.completion);
  transactions_.erase(it);
  if (completion) state_.backgroundApplication.performOnMainQueue(std::move(completion));
}

}  // namespace tessary::fake

namespace tessary::fake {

std::vector<CompositorWindowId> FakeCompositor::visibleFrontToBack() const {
  std::vector<const FakeBandWindow*> visible;
  for (const FakeBandWindow& window : windows_) {
    if (window.visible) visible.push_back(&window);
  }
  std::sort(visible.begin(), visible.end(), [](const FakeBandWindow* a, const FakeBandWindow* b) {
    return a->stackOrder > b->stackOrder;
  });
  std::vector<CompositorWindowId> ids;
  for (const FakeBandWindow* window : visible)
    ids.push_back(window->id);
  return ids;
}

}  // namespace tessary::fake
