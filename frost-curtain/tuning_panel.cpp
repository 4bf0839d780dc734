#include "frost-curtain/tuning_panel.h"

#include <cmath>
#include <cstdio>

#include "frost-curtain/curtain_app.h"

namespace tessary::curtain {

const SliderRow& sliderRow(SliderKey key) {
  for (const SliderRow& row : kSliderRows) {
    if (row.key == key) return row;
  }
  return kSliderRows[0];
}

namespace {
double* realField(PreviewParameters& p, SliderKey key) {
  switch (key) {
    case SliderKey::heightRatio:
      return &p.heightRatio;
    case SliderKey::layerCount:
      return nullptr;
    case SliderKey::opacityExponent:
      return &p.opacityExponent;
    case SliderKey::curveExponent:
      return &p.curveExponent;
    case SliderKey::tallestHeightMultiplier:
      return &p.tallestHeightMultiplier;
    case SliderKey::shortestHeightMultiplier:
      return &p.shortestHeightMultiplier;
    case SliderKey::tallestAlpha:
      return &p.tallestAlpha;
    case SliderKey::shortestAlpha:
      return &p.shortestAlpha;
    case SliderKey::tallestZeroOpacitySide:
      return &p.tallestZeroOpacitySide;
    case SliderKey::shortestZeroOpacitySide:
      return &p.shortestZeroOpacitySide;
    case SliderKey::tallestZeroOpacityDroop:
      return &p.tallestZeroOpacityDroop;
    case SliderKey::shortestZeroOpacityDroop:
      return &p.shortestZeroOpacityDroop;
    case SliderKey::tallestFullOpacitySide:
      return &p.tallestFullOpacitySide;
    case SliderKey::shortestFullOpacitySide:
      return &p.shortestFullOpacitySide;
    case SliderKey::tallestFullOpacityDroop:
      return &p.tallestFullOpacityDroop;
    case SliderKey::shortestFullOpacityDroop:
      return &p.shortestFullOpacityDroop;
  }
  return nullptr;
}

// Halves away from zero; values outside the 64-bit range saturate.
int64_t roundedWhole(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 9.2e18) return INT64_MAX;
  if (value <= -9.2e18) return INT64_MIN;
  return std::llround(value);
}
}  // namespace

double parameterValue(const PreviewParameters& parameters, SliderKey key) {
  if (key == SliderKey::layerCount) return static_cast<double>(parameters.layerCount);
  return *realField(const_cast<PreviewParameters&>(parameters), key);
}

void setParameterValue(PreviewParameters& parameters, SliderKey key, double value) {
  if (key == SliderKey::layerCount) {
    parameters.layerCount = roundedWhole(value);
  } else {
    *realField(parameters, key) = value;
  }
}

std::string formattedValue(double value, bool wholeNumbersOnly) {
  if (wholeNumbersOnly) return std::to_string(roundedWhole(value));
  char text[64];
  std::snprintf(text, sizeof text, "%.3f", value);
  return text;
}

void AppDelegate::buildTuningPanel(const Rect& screen) {
  TuningPanelViews& panel = platform_.tuningPanel;
  TuningPanelConfig config;
  config.contentRect = Rect{screen.x + 24, screen.y + screen.h - 760, 620, 720};
  config.title = kTuningPanelTitle;
  config.documentFrame = Rect{0, 0, 600, 1000};
  panel.createPanel(config);
  panel.setActionHandler([weak = weak_from_this()](PanelControlId control) {
    if (std::shared_ptr<AppDelegate> self = weak.lock()) self->handleControlAction(control);
  });
  hasTuningWindow = true;
  rebuildTuningControls();
  panel.showPanel();
}

void AppDelegate::rebuildTuningControls() {
  if (!hasTuningWindow) return;
  TuningPanelViews& panel = platform_.tuningPanel;
  panel.removeAllControls();
  sliderBindings.clear();
  valueLabels.clear();

  const double contentWidth = std::max(panel.documentFrame().w, kMinimumLayoutWidth);
  const double w = contentWidth - 32;
  const PanelControlId buttons = panel.addContainer(kPanelDocumentView, Rect{16, 16, w, 32});
  randomizeButton_ = panel.addButton(buttons, Rect{0, 0, 112, 32}, "Randomize");
  copyButton_ = panel.addButton(buttons, Rect{124, 0, 120, 32}, "Copy Params");

  panel.addLabel(kPanelDocumentView, Rect{16, 66, 100, 20}, "Material", PanelFont::system, false);
  std::vector<std::string> names;
  int selected = -1;
  for (const MaterialSpec& material : kMaterials) {
    if (parameters.materialName == material.name) selected = static_cast<int>(names.size());
    names.emplace_back(material.name);
  }
  materialPopup = panel.addPopUp(kPanelDocumentView, Rect{130, 60, w - 130, 28}, names, selected);

  double y = 100;
  for (const SliderRow& row : kSliderRows) {
    if (row.section) {
      panel.addLabel(kPanelDocumentView, Rect{16, y + 4, 240, 20}, row.section,
                     PanelFont::boldSystem13, false);
      y += 28;
    }
    addSliderRow(row, parameterValue(parameters, row.key), y, w);
  }
  panel.setDocumentFrame(Rect{0, 0, contentWidth, y + 24});
}

void AppDelegate::addSliderRow(const SliderRow& row, double value, double& y, double w) {
  TuningPanelViews& panel = platform_.tuningPanel;
  panel.addLabel(kPanelDocumentView, Rect{16, y + 4, 190, 18}, row.label, PanelFont::system, false);
  const int ticks = row.wholeNumbersOnly ? static_cast<int>(row.maximum - row.minimum) + 1 : 0;
  const PanelControlId slider =
      panel.addSlider(kPanelDocumentView, Rect{210, y, w - 300, 24}, value, row.minimum,
                      row.maximum, ticks, row.wholeNumbersOnly);
  sliderBindings[slider] = row.key;
  valueLabels[row.key] = panel.addLabel(kPanelDocumentView, Rect{w - 72, y + 4, 56, 18},
                                        formattedValue(value, row.wholeNumbersOnly),
                                        PanelFont::monospacedDigit11Medium, true);
  y += 32;
}

void AppDelegate::handleControlAction(PanelControlId control) {
  if (control == randomizeButton_) {
    handleRandomize();
  } else if (control == copyButton_) {
    handleCopy();
  } else if (control == materialPopup) {
    handleMaterialChange(control);
  } else {
    handleSliderChange(control);
  }
}

void AppDelegate::handleSliderChange(PanelControlId slider) {
  auto binding = sliderBindings.find(slider);
  if (binding == sliderBindings.end()) return;
  const SliderKey key = binding->second;
  TuningPanelViews& panel = platform_.tuningPanel;
  double value = panel.sliderValue(slider);
  if (panel.sliderAllowsOnlyTickMarkValues(slider)) value = std::round(value);
  setParameterValue(parameters, key, value);
  parameters = sanitize(parameters);
  if (auto label = valueLabels.find(key); label != valueLabels.end()) {
    panel.setLabelText(label->second, formattedValue(parameterValue(parameters, key),
                                                     sliderRow(key).wholeNumbersOnly));
  }
  applyCurrentParameters(false, nullptr);
}

void AppDelegate::handleMaterialChange(PanelControlId popUp) {
  std::optional<std::string> title = platform_.tuningPanel.selectedItemTitle(popUp);
  if (!title) return;
  parameters.materialName = *title;
  applyCurrentParameters(false, nullptr);
}

void AppDelegate::handleRandomize() {
  parameters = randomParameters(platform_.random, parameters.heightRatio, parameters.materialName);
  rebuildTuningControls();
  applyCurrentParameters(false, nullptr);
}

}  // namespace tessary::curtain
