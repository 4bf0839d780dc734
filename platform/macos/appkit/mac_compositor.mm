#include "platform/macos/appkit/mac_compositor.h"

#import <AppKit/AppKit.h>
#import <QuartzCore/QuartzCore.h>

#include <map>
#include <vector>

#include "platform/macos/cf_text.h"

namespace tessary::macos {

namespace {

struct Band {
  NSWindow* window = nil;
  NSVisualEffectView* view = nil;
};

NSRect nsRect(const Rect& r) {
  return NSMakeRect(r.x, r.y, r.w, r.h);
}

Rect rectOf(NSRect r) {
  return Rect{r.origin.x, r.origin.y, r.size.width, r.size.height};
}

NSString* nsString(std::string_view text) {
  CFRef<CFStringRef> string = cfStringFromUtf8(text);
  return string ? (__bridge_transfer NSString*)CFRetain(string.get()) : @"";
}

// The named timing functions Core Animation knows; an unknown name gets the
// default curve.
CAMediaTimingFunctionName timingFunctionName(std::string_view name) {
  if (name == "linear") return kCAMediaTimingFunctionLinear;
  if (name == "easeIn") return kCAMediaTimingFunctionEaseIn;
  if (name == "easeOut") return kCAMediaTimingFunctionEaseOut;
  if (name == "easeInEaseOut") return kCAMediaTimingFunctionEaseInEaseOut;
  return kCAMediaTimingFunctionDefault;
}

void releaseMaskBytes(void* info, const void*, size_t) {
  delete static_cast<MaskBytes*>(info);
}

// A CGImage over the mask's bytes, which the image then owns; NULL when the
// data provider or the image cannot be made.
CGImageRef createMaskImage(MaskImage image) {
  if (image.width <= 0 || image.height <= 0 ||
      image.rgba.size() < static_cast<size_t>(image.width) * static_cast<size_t>(image.height) * 4)
    return NULL;
  auto* bytes = new MaskBytes(std::move(image.rgba));
  CGDataProviderRef provider =
      CGDataProviderCreateWithData(bytes, bytes->data(), bytes->size(), releaseMaskBytes);
  if (!provider) {
    delete bytes;
    return NULL;
  }
  CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
  CGImageRef result = CGImageCreate(
      static_cast<size_t>(image.width), static_cast<size_t>(image.height), 8, 32,
      static_cast<size_t>(image.width) * 4, space,
      static_cast<CGBitmapInfo>(kCGImageAlphaPremultipliedLast) | kCGBitmapByteOrderDefault,
      provider, NULL, true, kCGRenderingIntentDefault);
  CGColorSpaceRelease(space);
  CGDataProviderRelease(provider);
  return result;
}

}  // namespace

struct MacCompositor::Windows {
  std::map<CompositorWindowId, Band> bands;
  CompositorWindowId next = 1;
  Band* find(CompositorWindowId id) {
    auto it = bands.find(id);
    return it == bands.end() ? nullptr : &it->second;
  }
};

MacCompositor::MacCompositor() : windows_(std::make_unique<Windows>()) {}
MacCompositor::~MacCompositor() = default;

CompositorWindowId MacCompositor::createBandWindow(const BandWindowConfig& config) {
  Band band;
  band.window =
      [[NSWindow alloc] initWithContentRect:nsRect(config.contentRect)
                                  styleMask:config.styleMask
                                    backing:static_cast<NSBackingStoreType>(config.backing)
                                      defer:config.defer];
  band.view = [[NSVisualEffectView alloc] initWithFrame:nsRect(config.viewFrame)];
  NSWindow* window = band.window;
  window.opaque = config.opaque;
  if (config.clearBackground) window.backgroundColor = NSColor.clearColor;
  window.hasShadow = config.hasShadow;
  window.level = config.level;
  window.ignoresMouseEvents = config.ignoresMouseEvents;
  window.collectionBehavior = config.collectionBehavior;
  // The band holds the window under ARC; closing it must never release it as
  // well, whatever the configuration asks.
  window.releasedWhenClosed = NO;
  window.animationBehavior = static_cast<NSWindowAnimationBehavior>(config.animationBehavior);
  NSVisualEffectView* view = band.view;
  view.autoresizingMask = config.autoresizingMask;
  view.blendingMode = static_cast<NSVisualEffectBlendingMode>(config.blendingMode);
  view.state = static_cast<NSVisualEffectState>(config.state);
  view.material = static_cast<NSVisualEffectMaterial>(config.material);
  view.alphaValue = config.alpha;
  view.wantsLayer = config.wantsLayer;
  window.contentView = view;
  const CompositorWindowId id = windows_->next++;
  windows_->bands.emplace(id, band);
  return id;
}

void MacCompositor::releaseWindow(CompositorWindowId id) {
  windows_->bands.erase(id);
}

Rect MacCompositor::windowFrame(CompositorWindowId id) {
  Band* band = windows_->find(id);
  return band ? rectOf(band->window.frame) : Rect{};
}

void MacCompositor::setWindowFrame(CompositorWindowId id, const Rect& frame, bool display,
                                   bool animate) {
  if (Band* band = windows_->find(id))
    [band->window setFrame:nsRect(frame) display:display animate:animate];
}

bool MacCompositor::isWindowVisible(CompositorWindowId id) {
  Band* band = windows_->find(id);
  return band && band->window.isVisible;
}

void MacCompositor::orderFrontRegardless(CompositorWindowId id) {
  if (Band* band = windows_->find(id)) [band->window orderFrontRegardless];
}

void MacCompositor::orderOut(CompositorWindowId id) {
  if (Band* band = windows_->find(id)) [band->window orderOut:nil];
}

void MacCompositor::closeWindow(CompositorWindowId id) {
  if (Band* band = windows_->find(id)) [band->window close];
}

double MacCompositor::backingScaleFactor(CompositorWindowId id) {
  Band* band = windows_->find(id);
  return band ? band->window.backingScaleFactor : 1;
}

int MacCompositor::viewMaterial(CompositorWindowId id) {
  Band* band = windows_->find(id);
  return band ? static_cast<int>(band->view.material) : 0;
}

void MacCompositor::setViewMaterial(CompositorWindowId id, int material) {
  if (Band* band = windows_->find(id))
    band->view.material = static_cast<NSVisualEffectMaterial>(material);
}

double MacCompositor::viewAlpha(CompositorWindowId id) {
  Band* band = windows_->find(id);
  return band ? band->view.alphaValue : 0;
}

void MacCompositor::setViewAlpha(CompositorWindowId id, double alpha) {
  if (Band* band = windows_->find(id)) band->view.alphaValue = alpha;
}

Rect MacCompositor::viewFrame(CompositorWindowId id) {
  Band* band = windows_->find(id);
  return band ? rectOf(band->view.frame) : Rect{};
}

void MacCompositor::setViewFrame(CompositorWindowId id, const Rect& frame) {
  if (Band* band = windows_->find(id)) band->view.frame = nsRect(frame);
}

Rect MacCompositor::viewBounds(CompositorWindowId id) {
  Band* band = windows_->find(id);
  return band ? rectOf(band->view.bounds) : Rect{};
}

bool MacCompositor::viewHasLayer(CompositorWindowId id) {
  Band* band = windows_->find(id);
  return band && band->view.layer != nil;
}

float MacCompositor::layerOpacity(CompositorWindowId id) {
  Band* band = windows_->find(id);
  return band && band->view.layer ? band->view.layer.opacity : 0;
}

void MacCompositor::setLayerOpacity(CompositorWindowId id, float opacity) {
  Band* band = windows_->find(id);
  if (band && band->view.layer) band->view.layer.opacity = opacity;
}

std::optional<float> MacCompositor::presentationOpacity(CompositorWindowId id) {
  Band* band = windows_->find(id);
  if (!band || !band->view.layer) return std::nullopt;
  CALayer* shown = band->view.layer.presentationLayer;
  if (!shown) return std::nullopt;
  return shown.opacity;
}

void MacCompositor::removeLayerAnimation(CompositorWindowId id, std::string_view key) {
  Band* band = windows_->find(id);
  if (band && band->view.layer) [band->view.layer removeAnimationForKey:nsString(key)];
}

void MacCompositor::addOpacityAnimation(CompositorWindowId id, std::string_view key, float from,
                                        float to, double duration,
                                        std::string_view timingFunction) {
  Band* band = windows_->find(id);
  if (!band || !band->view.layer) return;
  CABasicAnimation* animation = [CABasicAnimation animationWithKeyPath:@"opacity"];
  animation.fromValue = @(from);
  animation.toValue = @(to);
  animation.duration = duration;
  animation.timingFunction =
      [CAMediaTimingFunction functionWithName:timingFunctionName(timingFunction)];
  animation.removedOnCompletion = YES;
  [band->view.layer addAnimation:animation forKey:nsString(key)];
}

void MacCompositor::setLayerMask(CompositorWindowId id, double contentsScale, MaskImage image) {
  Band* band = windows_->find(id);
  if (!band || !band->view.layer) return;  // a view without a layer has no mask
  CALayer* mask = [CALayer layer];
  mask.frame = band->view.bounds;
  mask.contentsGravity = kCAGravityResize;
  mask.contentsScale = contentsScale;
  CGImageRef picture = createMaskImage(std::move(image));
  if (picture) {
    mask.contents = (__bridge ::id)picture;
    CGImageRelease(picture);
  }
  band->view.layer.mask = mask;
}

void MacCompositor::beginTransaction() {
  [CATransaction begin];
}

void MacCompositor::setTransactionDisableActions(bool disable) {
  [CATransaction setDisableActions:disable];
}

void MacCompositor::setTransactionCompletion(std::function<void()> completion) {
  if (!completion) {
    [CATransaction setCompletionBlock:nil];
    return;
  }
  [CATransaction setCompletionBlock:^{
    completion();
  }];
}

void MacCompositor::commitTransaction() {
  [CATransaction commit];
}

}  // namespace tessary::macos
