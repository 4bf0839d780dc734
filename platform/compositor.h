// Band windows and what draws them: borderless windows whose content is a
// behind-window visual-effect view (NSWindow, NSVisualEffectView), the view's
// Core Animation layer with its opacity, animations and mask, and
// transactions (CATransaction). Frames are in the platform's screen
// coordinates: points, origin at the bottom left of the primary screen.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/geometry.h"

namespace tessary {

// A window made by the compositor together with its content view.
using CompositorWindowId = uint64_t;

// Everything a band window is created with, as the AppKit calls take it.
struct BandWindowConfig {
  Rect contentRect;
  uint64_t styleMask = 0;  // borderless
  int backing = 2;         // buffered
  bool defer = false;
  bool opaque = false;
  bool clearBackground = true;
  bool hasShadow = false;
  int level = 3;  // floating
  bool ignoresMouseEvents = true;
  uint64_t collectionBehavior = 257;  // all spaces, full-screen auxiliary
  bool releasedWhenClosed = false;
  int animationBehavior = 2;  // none
  // The content view (NSVisualEffectView).
  Rect viewFrame;
  uint64_t autoresizingMask = 18;  // width and height follow the window
  int blendingMode = 0;            // behind window
  int state = 1;                   // active
  int material = 2;
  double alpha = 0;
  bool wantsLayer = true;
};

// Leaves bytes uninitialized on resize: a mask writes every one of them, and
// zero-filling first would cost as much as a second pass.
template <typename T>
struct UninitializedAllocator : std::allocator<T> {
  template <typename U>
  struct rebind {
    using other = UninitializedAllocator<U>;
  };
  UninitializedAllocator() = default;
  template <typename U>
  UninitializedAllocator(const UninitializedAllocator<U>&) {}
  template <typename U>
  void construct(U* place) {
    ::new (static_cast<void*>(place)) U;
  }
  template <typename U, typename... Args>
  void construct(U* place, Args&&... args) {
    ::new (static_cast<void*>(place)) U(std::forward<Args>(args)...);
  }
};
using MaskBytes = std::vector<uint8_t, UninitializedAllocator<uint8_t>>;

// An alpha mask: rows of `width` RGBA pixels, top row first, premultiplied,
// alpha last, device RGB.
struct MaskImage {
  int64_t width = 0;
  int64_t height = 0;
  MaskBytes rgba;
};

class Compositor {
 public:
  virtual ~Compositor() = default;

  virtual CompositorWindowId createBandWindow(const BandWindowConfig& config) = 0;
  // Ordered out and closed windows stay valid until released (they are not
  // released when closed); releasing drops the window and its view.
  virtual void releaseWindow(CompositorWindowId window) = 0;

  // NSWindow.
  virtual Rect windowFrame(CompositorWindowId window) = 0;
  virtual void setWindowFrame(CompositorWindowId window, const Rect& frame, bool display,
                              bool animate) = 0;
  virtual bool isWindowVisible(CompositorWindowId window) = 0;
  virtual void orderFrontRegardless(CompositorWindowId window) = 0;
  virtual void orderOut(CompositorWindowId window) = 0;
  virtual void closeWindow(CompositorWindowId window) = 0;
  virtual double backingScaleFactor(CompositorWindowId window) = 0;

  // The window's content view.
  virtual int viewMaterial(CompositorWindowId window) = 0;
  virtual void setViewMaterial(CompositorWindowId window, int material) = 0;
  virtual double viewAlpha(CompositorWindowId window) = 0;
  virtual void setViewAlpha(CompositorWindowId window, double alpha) = 0;
  virtual Rect viewFrame(CompositorWindowId window) = 0;
  virtual void setViewFrame(CompositorWindowId window, const Rect& frame) = 0;
  virtual Rect viewBounds(CompositorWindowId window) = 0;

  // The view's layer; every call below is skipped by a view without one.
  virtual bool viewHasLayer(CompositorWindowId window) = 0;
  virtual float layerOpacity(CompositorWindowId window) = 0;
  virtual void setLayerOpacity(CompositorWindowId window, float opacity) = 0;
  // The presentation layer's opacity, when the layer has a presentation layer.
  virtual std::optional<float> presentationOpacity(CompositorWindowId window) = 0;
  virtual void removeLayerAnimation(CompositorWindowId window, std::string_view key) = 0;
  // A basic animation of "opacity", removed on completion, added under `key`
  // (replacing the one there).
  virtual void addOpacityAnimation(CompositorWindowId window, std::string_view key, float from,
                                   float to, double duration,
                                   std::string_view timingFunctionName) = 0;
  // A new mask layer for the view's layer: frame = the view's bounds,
  // contents gravity "resize", the given contents scale, and the image made
  // from the bytes as contents (none when it cannot be made). The bytes are
  // handed over: the image keeps them without a copy.
  virtual void setLayerMask(CompositorWindowId window, double contentsScale, MaskImage image) = 0;

  // CATransaction.
  virtual void beginTransaction() = 0;
  virtual void setTransactionDisableActions(bool disable) = 0;
  virtual void setTransactionCompletion(std::function<void()> completion) = 0;
  virtual void commitTransaction() = 0;
};

}  // namespace tessary
