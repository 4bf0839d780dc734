// The simulated tuning panel: its configuration and every control with its
// frame, texts and values; tests drag sliders, click buttons and choose menu
// items through it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/fake/fake_desktop.h"
#include "platform/tuning_panel_views.h"

namespace tessary::fake {

struct FakePanelControl {
  enum class Kind { container, label, button, slider, popUp };
  PanelControlId id = 0;
  PanelControlId parent = kPanelDocumentView;
  Kind kind = Kind::label;
  Rect frame;
  std::string text;  // label text or button title
  PanelFont font = PanelFont::system;
  bool rightAligned = false;
  double value = 0, minimum = 0, maximum = 0;
  int tickMarks = 0;
  bool onlyTickMarkValues = false;
  std::vector<std::string> items;
  int selected = -1;
};

class FakeTuningPanel : public TuningPanelViews {
 public:
  explicit FakeTuningPanel(FakeDesktop::State& state) : state_(state) {}

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

  // For tests: the user's hand. A slider that takes only tick-mark values
  // snaps to the nearest one, as AppKit's does.
  void dragSlider(PanelControlId slider, double value);
  void click(PanelControlId button);
  void choose(PanelControlId popUp, int item);

  std::optional<TuningPanelConfig> config;
  int timesShown = 0;
  std::vector<FakePanelControl> controls;  // the current ones, in the order added
  const FakePanelControl* control(PanelControlId id) const;

 private:
  FakePanelControl* find(PanelControlId id);
  PanelControlId add(FakePanelControl control);

  FakeDesktop::State& state_;
  Rect documentFrame_;
  PanelControlId nextId_ = 1;
  std::function<void(PanelControlId)> handler_;
};

}  // namespace tessary::fake
