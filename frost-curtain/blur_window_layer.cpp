#include "frost-curtain/blur_window_layer.h"

namespace tessary::curtain {

BlurWindowLayer::BlurWindowLayer(Compositor& compositor, const BlurLayerSpec& bandSpec,
                                 const Rect& target, int material)
    : spec(bandSpec), targetFrame(target), compositor_(compositor) {
  BandWindowConfig config;
  config.contentRect = parkedFrame(target);
  config.viewFrame = Rect{0, 0, target.w, target.h};
  config.material = material;
  config.alpha = 0;
  window_ = compositor_.createBandWindow(config);
  applyMask();
}

BlurWindowLayer::~BlurWindowLayer() {
  compositor_.releaseWindow(window_);
}

void BlurWindowLayer::applyMask() {
  if (!compositor_.viewHasLayer(window_)) return;
  const Rect bounds = compositor_.viewBounds(window_);
  const double backing = compositor_.backingScaleFactor(window_);
  const double scale = backing >= 1 ? backing : 1;
  const int64_t width = maskPixelExtent(bounds.w, scale);
  const int64_t height = maskPixelExtent(bounds.h, scale);
  const MaskShape shape{spec, opacityExponent, curveExponent};
  compositor_.setLayerMask(window_, scale, renderMask(shape, width, height));
}

void BlurWindowLayer::animateOpacity(double to, double duration,
                                     std::string_view timingFunctionName) {
  const float from = static_cast<float>(currentOpacity());
  compositor_.setViewAlpha(window_, to);
  if (!compositor_.viewHasLayer(window_)) return;
  compositor_.setLayerOpacity(window_, static_cast<float>(to));
  compositor_.addOpacityAnimation(window_, kOpacityAnimationKey, from, static_cast<float>(to),
                                  duration, timingFunctionName);
}

double BlurWindowLayer::currentOpacity() {
  if (!compositor_.viewHasLayer(window_)) return compositor_.viewAlpha(window_);
  if (std::optional<float> shown = compositor_.presentationOpacity(window_)) return *shown;
  return compositor_.layerOpacity(window_);
}

void BlurWindowLayer::freezeOpacity() {
  const double shown = currentOpacity();
  if (compositor_.viewHasLayer(window_)) {
    compositor_.removeLayerAnimation(window_, kOpacityAnimationKey);
  }
  setOpacity(shown);
}

void BlurWindowLayer::setOpacity(double value) {
  compositor_.setViewAlpha(window_, value);
  if (compositor_.viewHasLayer(window_)) {
    compositor_.setLayerOpacity(window_, static_cast<float>(value));
  }
}

}  // namespace tessary::curtain
