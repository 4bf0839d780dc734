// A desktop without AppKit: an application that never launches, no band
// windows, a pasteboard that refuses, a tuning panel without views, and
// screens that are the displays alone.
#include <functional>
#include <utility>
#include <vector>

#include "platform/macos/service_kits.h"

namespace tessary::macos {

namespace {

// There is no event loop: `run` returns at once without launching, work for
// the main queue is dropped (nothing would ever run it), and standard input
// ends before anything is read.
class NoApplication : public BackgroundApplication {
 public:
  void setActivationPolicy(int) override {}
  void activateIgnoringOtherApps() override {}
  void run(std::function<void()>) override {}
  void terminate() override {}
  void performOnMainQueue(std::function<void()>) override {}
  void readStandardInput(InputStream*, std::function<void(std::string_view)> onData) override {
    if (onData) onData(std::string_view());
  }
};

// Makes no window: `createBandWindow` answers 0 (real windows count from 1),
// and every window query answers as for a window that does not exist. A
// transaction has nothing to animate, so its completion runs when it is
// committed, or at once when set outside any transaction.
class NoCompositor : public Compositor {
 public:
  CompositorWindowId createBandWindow(const BandWindowConfig&) override { return 0; }
  void releaseWindow(CompositorWindowId) override {}
  Rect windowFrame(CompositorWindowId) override { return Rect{}; }
  void setWindowFrame(CompositorWindowId, const Rect&, bool, bool) override {}
  bool isWindowVisible(CompositorWindowId) override { return false; }
  void orderFrontRegardless(CompositorWindowId) override {}
  void orderOut(CompositorWindowId) override {}
  void closeWindow(CompositorWindowId) override {}
  double backingScaleFactor(CompositorWindowId) override { return 1; }
  int viewMaterial(CompositorWindowId) override { return 0; }
  void setViewMaterial(CompositorWindowId, int) override {}
  double viewAlpha(CompositorWindowId) override { return 0; }
  void setViewAlpha(CompositorWindowId, double) override {}
  Rect viewFrame(CompositorWindowId) override { return Rect{}; }
  void setViewFrame(CompositorWindowId, const Rect&) override {}
  Rect viewBounds(CompositorWindowId) override { return Rect{}; }
  bool viewHasLayer(CompositorWindowId) override { return false; }
  float layerOpacity(CompositorWindowId) override { return 0; }
  void setLayerOpacity(CompositorWindowId, float) override {}
  std::optional<float> presentationOpacity(CompositorWindowId) override { return std::nullopt; }
  void removeLayerAnimation(CompositorWindowId, std::string_view) override {}
  void addOpacityAnimation(CompositorWindowId, std::string_view, float, float, double,
                           std::string_view) override {}
  void setLayerMask(CompositorWindowId, double, MaskImage) override {}
  void beginTransaction() override { openTransactions_.emplace_back(); }
  void setTransactionDisableActions(bool) override {}
  void setTransactionCompletion(std::function<void()> completion) override {
    if (openTransactions_.empty()) {
      if (completion) completion();
      return;
    }
    openTransactions_.back() = std::move(completion);
  }
  void commitTransaction() override {
    if (openTransactions_.empty()) return;
    std::function<void()> completion = std::move(openTransactions_.back());
    openTransactions_.pop_back();
    if (completion) completion();
  }

 private:
  // The completion of each open transaction, innermost last.
  std::vector<std::function<void()>> openTransactions_;
};

// Copies nothing: every string is refused.
class NoPasteboard : public Pasteboard {
 public:
  void clearContents() override {}
  bool setPlainString(std::string_view) override { return false; }
};

// Shows nothing. Controls get distinct ids, so a caller's bookkeeping stays
// consistent, but none exists: sliders read 0, pop-ups have no selection and
// no action is ever sent.
class NoTuningPanel : public TuningPanelViews {
 public:
  void createPanel(const TuningPanelConfig&) override {}
  void showPanel() override {}
  Rect documentFrame() override { return Rect{}; }
  void setDocumentFrame(const Rect&) override {}
  void removeAllControls() override {}
  PanelControlId addContainer(PanelControlId, const Rect&) override { return nextId(); }
  PanelControlId addLabel(PanelControlId, const Rect&, const std::string&, PanelFont,
                          bool) override {
    return nextId();
  }
  PanelControlId addButton(PanelControlId, const Rect&, const std::string&) override {
    return nextId();
  }
  PanelControlId addSlider(PanelControlId, const Rect&, double, double, double, int,
                           bool) override {
    return nextId();
  }
  PanelControlId addPopUp(PanelControlId, const Rect&, const std::vector<std::string>&,
                          int) override {
    return nextId();
  }
  void setLabelText(PanelControlId, const std::string&) override {}
  double sliderValue(PanelControlId) override { return 0; }
  bool sliderAllowsOnlyTickMarkValues(PanelControlId) override { return false; }
  std::optional<std::string> selectedItemTitle(PanelControlId) override { return std::nullopt; }
  void setActionHandler(std::function<void(PanelControlId)>) override {}

 private:
  PanelControlId nextId() { return ++lastId_; }
  PanelControlId lastId_ = kPanelDocumentView;
};

// The displays' main screen, with the interface's screen list (that screen
// alone) and pointer (the origin).
class DisplaysOnly : public Screens {
 public:
  explicit DisplaysOnly(Screens& displays) : displays_(displays) {}
  std::optional<Rect> mainScreenFrame() override { return displays_.mainScreenFrame(); }

 private:
  Screens& displays_;
};

}  // namespace

AppKitServices makeAppKitServices(Screens& displays) {
  return AppKitServices{std::make_unique<DisplaysOnly>(displays), std::make_unique<NoApplication>(),
                        std::make_unique<NoCompositor>(), std::make_unique<NoPasteboard>(),
                        std::make_unique<NoTuningPanel>()};
}

}  // namespace tessary::macos
