// Band windows over NSWindow and NSVisualEffectView, their Core Animation
// layers and CATransaction; masks are CGImages made from the mask bytes.
#pragma once

#include <memory>

#include "platform/compositor.h"

namespace tessary::macos {

class MacCompositor : public Compositor {
 public:
  MacCompositor();
  ~MacCompositor() override;

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

 private:
  struct Windows;
  std::unique_ptr<Windows> windows_;
};

}  // namespace tessary::macos
