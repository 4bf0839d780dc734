// The simulated band windows: frames, visibility and stacking, the content
// view's material, alpha and frame, the layer's opacity with opacity
// animations that run in virtual time, masks, and transactions whose
// completions run once their animations have finished or been removed.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/compositor.h"
#include "platform/fake/fake_desktop.h"

namespace tessary::fake {

struct FakeOpacityAnimation {
  float from = 0, to = 0;
  double start = 0, duration = 0;
  std::string timingFunction;
  uint64_t serial = 0;
  std::vector<uint64_t> transactions;
};

struct FakeMask {
  double contentsScale = 1;
  Rect frame;
  MaskImage image;
};

struct FakeBandWindow {
  CompositorWindowId id = 0;
  BandWindowConfig config;
  Rect frame;
  bool visible = false;
  bool closed = false;
  bool released = false;
  uint64_t stackOrder = 0;  // larger is further in front
  int material = 0;
  double alpha = 0;
  Rect viewFrame;
  float opacity = 1;
  std::map<std::string, FakeOpacityAnimation, std::less<>> animations;
  std::optional<FakeMask> mask;
  int maskInstalls = 0;
};

class FakeCompositor : public Compositor {
 public:
  explicit FakeCompositor(FakeDesktop::State& state) : state_(state) {}

  CompositorWindowId createBandWindow(const BandWindowConfig& config) override;
  void releaseWindow(CompositorWindowId window) override;
  Rect windowFrame(CompositorWindowId window) override;
  void setWindowFrame(CompositorWindowId window, const Rect& frame, bool display,
                      bool animate) override;
  bool isWindowVisible(CompositorWindowId window) override;
  void orderFrontRegardless(CompositorWindowId window) override;
  void orderOut(CompositorWindowId window) override;
  void closeWindow(CompositorWindowId window) override;
  double backingScaleFactor(CompositorWindowId window) override;
  int viewMaterial(CompositorWindowId window) override;
  void setViewMaterial(CompositorWindowId window, int material) override;
  double viewAlpha(CompositorWindowId window) override;
  void setViewAlpha(CompositorWindowId window, double alpha) override;
  Rect viewFrame(CompositorWindowId window) override;
  void setViewFrame(CompositorWindowId window, const Rect& frame) override;
  Rect viewBounds(CompositorWindowId window) override;
  bool viewHasLayer(CompositorWindowId window) override;
  float layerOpacity(CompositorWindowId window) override;
  void setLayerOpacity(CompositorWindowId window, float opacity) override;
  std::optional<float> presentationOpacity(CompositorWindowId window) override;
  void removeLayerAnimation(CompositorWindowId window, std::string_view key) override;
  void addOpacityAnimation(CompositorWindowId window, std::string_view key, float from, float to,
                           double duration, std::string_view timingFunctionName) override;
  void setLayerMask(CompositorWindowId window, double contentsScale, MaskImage image) override;
  void beginTransaction() override;
  void setTransactionDisableActions(bool disable) override;
  void setTransactionCompletion(std::function<void()> completion) override;
  void commitTransaction() override;

  // For tests: every window made so far, released ones included, in order.
  const std::vector<FakeBandWindow>& windows() const { return windows_; }
  const FakeBandWindow* window(CompositorWindowId id) const;
  // The visible windows, front first (released ones as they were last).
  std::vector<CompositorWindowId> visibleFrontToBack() const;
  // What the window shows now: the running animation's value, else the
  // layer's opacity.
  double shownOpacity(CompositorWindowId id) const;

  double scaleFactor = 1;

 private:
  struct Transaction {
    std::function<void()> completion;
    int outstanding = 0;
    bool committed = false;
  };
  FakeBandWindow* find(CompositorWindowId id);
  std::string nameOf(CompositorWindowId id) const;
  void finishAnimation(const FakeOpacityAnimation& animation);
  void settle(uint64_t transaction);

  FakeDesktop::State& state_;
  std::vector<FakeBandWindow> windows_;
  uint64_t stackCounter_ = 0;
  uint64_t animationSerial_ = 0;
  uint64_t transactionSerial_ = 0;
  std::vector<uint64_t> openTransactions_;
  std::map<uint64_t, Transaction> transactions_;
};

}  // namespace tessary::fake
