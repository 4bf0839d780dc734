#include "platform/fake/fake_tuning_panel.h"

#include <cmath>

#include "platform/fake/fake_state.h"

namespace tessary::fake {

void FakeTuningPanel::createPanel(const TuningPanelConfig& panelConfig) {
  state_.recorder.record("createPanel", "", std::string_view(panelConfig.title));
  config = panelConfig;
  documentFrame_ = panelConfig.documentFrame;
}

void FakeTuningPanel::showPanel() {
  state_.recorder.record("showPanel");
  ++timesShown;
}

Rect FakeTuningPanel::documentFrame() {
  return documentFrame_;
}

void FakeTuningPanel::setDocumentFrame(const Rect& frame) {
  documentFrame_ = frame;
}

void FakeTuningPanel::removeAllControls() {
  state_.recorder.record("removeAllControls");
  controls.clear();
}

namespace {

// A control of `kind` at `frame` in `parent`; the adders fill in the rest.
FakePanelControl placed(PanelControlId parent, FakePanelControl::Kind kind, const Rect& frame) {
  FakePanelControl control;
  control.parent = parent;
  control.kind = kind;
  control.frame = frame;
  return control;
}

}  // namespace

PanelControlId FakeTuningPanel::add(FakePanelControl control) {
  control.id = nextId_++;
  controls.push_back(std::move(control));
  return controls.back().id;
}

PanelControlId FakeTuningPanel::addContainer(PanelControlId parent, const Rect& frame) {
  FakePanelControl control = placed(parent, FakePanelControl::Kind::container, frame);
  return add(std::move(control));
}

PanelControlId FakeTuningPanel::addLabel(PanelControlId parent, const Rect& frame,
                                         const std::string& text, PanelFont font,
                                         bool rightAligned) {
  FakePanelControl control = placed(parent, FakePanelControl::Kind::label, frame);
  control.text = text;
  control.font = font;
  control.rightAligned = rightAligned;
  return add(std::move(control));
}

PanelControlId FakeTuningPanel::addButton(PanelControlId parent, const Rect& frame,
                                          const std::string& title) {
  FakePanelControl control = placed(parent, FakePanelControl::Kind::button, frame);
  control.text = title;
  return add(std::move(control));
}

PanelControlId FakeTuningPanel::addSlider(PanelControlId parent, const Rect& frame, double value,
                                          double minimum, double maximum, int tickMarks,
                                          bool onlyTickMarkValues) {
  FakePanelControl control = placed(parent, FakePanelControl::Kind::slider, frame);
  control.value = value;
  control.minimum = minimum;
  control.maximum = maximum;
  control.tickMarks = tickMarks;
  control.onlyTickMarkValues = onlyTickMarkValues;
  return add(std::move(control));
}

PanelControlId FakeTuningPanel::addPopUp(PanelControlId parent, const Rect& frame,
                                         const std::vector<std::string>& items, int selected) {
  FakePanelControl control = placed(parent, FakePanelControl::Kind::popUp, frame);
  control.items = items;
  control.selected = selected;
  return add(std::move(control));
}

void FakeTuningPanel::setLabelText(PanelControlId label, const std::string& text) {
  if (FakePanelControl* control = find(label)) control->text = text;
}

double FakeTuningPanel::sliderValue(PanelControlId slider) {
  FakePanelControl* control = find(slider);
  return control ? control->value : 0;
}

bool FakeTuningPanel::sliderAllowsOnlyTickMarkValues(PanelControlId slider) {
  FakePanelControl* control = find(slider);
  return control && control->onlyTickMarkValues && control->tickMarks > 0;
}

std::optional<std::string> FakeTuningPanel::selectedItemTitle(PanelControlId popUp) {
  FakePanelControl* control = find(popUp);
  if (!control || control->selected < 0 ||
      control->selected >= static_cast<int>(control->items.size())) {
    return std::nullopt;
  }
  return control->items[static_cast<size_t>(control->selected)];
}

void FakeTuningPanel::setActionHandler(std::function<void(PanelControlId)> handler) {
  handler_ = std::move(handler);
}

void FakeTuningPanel::dragSlider(PanelControlId slider, double value) {
  FakePanelControl* control = find(slider);
  if (!control) return;
  value = std::clamp(value, control->minimum, control->maximum);
  if (control->onlyTickMarkValues && control->tickMarks > 1) {
    const double step = (control->maximum - control->minimum) / (control->tickMarks - 1);
    value = control->minimum + std::round((value - control->minimum) / step) * step;
  }
  control->value = value;
  if (handler_) handler_(slider);
}

void FakeTuningPanel::click(PanelControlId button) {
  if (find(button) && handler_) handler_(button);
}

void FakeTuningPanel::choose(PanelControlId popUp, int item) {
  FakePanelControl* control = find(popUp);
  if (!control) return;
  control->selected = item;
  if (handler_) handler_(popUp);
}

const FakePanelControl* FakeTuningPanel::control(PanelControlId id) const {
  for (const FakePanelControl& control : controls) {
    if (control.id == id) return &control;
  }
  return nullptr;
}

FakePanelControl* FakeTuningPanel::find(PanelControlId id) {
  return const_cast<FakePanelControl*>(control(id));
}

}  // namespace tessary::fake
