// A desktop without AppKit, for the programs that do not link it: an
// application that never launches, no band windows, a pasteboard that
// refuses, and a tuning panel without views. Every call is safe and answers
// what its interface says of something absent. Plain C++, tested everywhere.
#pragma once

#include <functional>
#include <vector>

#include "platform/background_application.h"
#include "platform/compositor.h"
#include "platform/pasteboard.h"
#include "platform/tuning_panel_views.h"

namespace tessary::macos {

// There is no event loop: `run` returns at once without launching, work for
// the main queue never runs, and standard input ends before anything is read.
class NoApplication : public BackgroundApplication {
 public:
  void setActivationPolicy(int) override {}
  void activateIgnoringOtherApps() override {}
  void run(std::function<void()> didFinishLaunching) override;
  void terminate() override {}
  void performOnMainQueue(std::function<void()> work) override;
  void readStandardInput(InputStream* in, std::function<void(std::string_view)> onData) override;
};

// Makes no window: `createBandWindow` answers kNoBandWindow, and every window
// query answers as for a window that does not exist. A transaction has
// nothing to animate, so its completion runs when it is committed.
class NoCompositor : public Compositor {
 public:
  static constexpr CompositorWindowId kNoBandWindow = 0;

  CompositorWindowId createBandWindow(const BandWindowConfig& config) override;
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
  void beginTransaction() override;
  void setTransactionDisableActions(bool) override {}
  void setTransactionCompletion(std::function<void()> completion) override;
  void commitTransaction() override;

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

}  // namespace tessary::macos
