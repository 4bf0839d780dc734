// One band of the curtain: a borderless, click-through window anchored at the
// bottom of the screen whose content is a behind-window blur, with the alpha
// mask that fades it out towards its top.
#pragma once

#include <string_view>

#include "frost-curtain/band_mask.h"
#include "frost-curtain/preview_parameters.h"
#include "platform/compositor.h"

namespace tessary::curtain {

// The key the band's opacity animation runs under.
inline constexpr std::string_view kOpacityAnimationKey = "frost-curtain.opacity";
inline constexpr std::string_view kEaseInEaseOut = "easeInEaseOut";

class BlurWindowLayer {
 public:
  // Creates the window parked below `target`, invisible, and renders its mask.
  BlurWindowLayer(Compositor& compositor, const BlurLayerSpec& spec, const Rect& target,
                  int material);
  // Releases the window and its view.
  ~BlurWindowLayer();
  BlurWindowLayer(const BlurWindowLayer&) = delete;
  BlurWindowLayer& operator=(const BlurWindowLayer&) = delete;

  // Renders the mask from the band's `spec` and its two exponents and installs it.
  void applyMask();
  // Sets the alpha to `to` and animates the change from what shows now.
  void animateOpacity(double to, double duration, std::string_view timingFunctionName);
  // What the band shows right now: the presentation layer's opacity, else
  // the layer's, else the view's alpha.
  double currentOpacity();
  // Stops a running fade where it stands: removes the animation and makes
  // what shows now the model value.
  void freezeOpacity();
  // The view's alpha and the layer's opacity.
  void setOpacity(double value);

  CompositorWindowId window() const { return window_; }

  BlurLayerSpec spec;
  Rect targetFrame;
  bool isPresented = false;
  double opacityExponent = 1.4;
  double curveExponent = 1.0;

 private:
  Compositor& compositor_;
  CompositorWindowId window_ = 0;
};

}  // namespace tessary::curtain
