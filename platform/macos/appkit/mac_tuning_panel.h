// The tuning panel over NSPanel, NSScrollView, a flipped document view and
// AppKit's labels, buttons, sliders and pop-up buttons.
#pragma once

#include <memory>

#include "platform/tuning_panel_views.h"

namespace tessary::macos {

class MacTuningPanel : public TuningPanelViews {
 public:
  MacTuningPanel();
  ~MacTuningPanel() override;

  void createPanel(const TuningPanelConfig& config) override;
  void showPanel() override;
  Rect documentFrame() override;
  void setDocumentFrame(const Rect& frame) override;
  void removeAllControls() override;
  PanelControlId addContainer(PanelControlId parent, const Rect& frame) override;
  PanelControlId addLabel(PanelControlId parent, const Rect& frame, const std::string& text,
                          PanelFont font, bool rightAligned) override;
  PanelControlId addButton(PanelControlId parent, const Rect& frame,
                           const std::string& title) override;
  PanelControlId addSlider(PanelControlId parent, const Rect& frame, double value, double minimum,
                           double maximum, int tickMarks, bool onlyTickMarkValues) override;
  PanelControlId addPopUp(PanelControlId parent, const Rect& frame,
                          const std::vector<std::string>& items, int selected) override;
  void setLabelText(PanelControlId label, const std::string& text) override;
  double sliderValue(PanelControlId slider) override;
  bool sliderAllowsOnlyTickMarkValues(PanelControlId slider) override;
  std::optional<std::string> selectedItemTitle(PanelControlId popUp) override;
  void setActionHandler(std::function<void(PanelControlId)> handler) override;

 private:
  struct Views;
  std::unique_ptr<Views> views_;
};

}  // namespace tessary::macos
