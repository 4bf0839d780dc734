// The tuning panel's table of sliders and its fixed texts and numbers.
#pragma once

#include <optional>
#include <string>

#include "frost-curtain/preview_parameters.h"

namespace tessary::curtain {

enum class SliderKey {
  heightRatio,
  layerCount,
  opacityExponent,
  curveExponent,
  tallestHeightMultiplier,
  shortestHeightMultiplier,
  tallestAlpha,
  shortestAlpha,
  tallestZeroOpacitySide,
  shortestZeroOpacitySide,
  tallestZeroOpacityDroop,
  shortestZeroOpacityDroop,
  tallestFullOpacitySide,
  shortestFullOpacitySide,
  tallestFullOpacityDroop,
  shortestFullOpacityDroop,
};

struct SliderRow {
  const char* section;  // a heading before this row, or nullptr
  const char* label;
  SliderKey key;
  double minimum;
  double maximum;
  bool wholeNumbersOnly;
};

inline constexpr SliderRow kSliderRows[] = {
    {nullptr, "Height Ratio", SliderKey::heightRatio, 0.05, 1.8, false},
    {nullptr, "Layer Count", SliderKey::layerCount, 1, 10, true},
    {nullptr, "Opacity Exponent", SliderKey::opacityExponent, 0.2, 4, false},
    {nullptr, "Curve Exponent", SliderKey::curveExponent, 0.2, 3, false},
    {"Layer Generator", "Tallest Layer Height", SliderKey::tallestHeightMultiplier, 0.08, 1.8,
     false},
    {nullptr, "Shortest Layer Height", SliderKey::shortestHeightMultiplier, 0.08, 1.8, false},
    {nullptr, "Tallest Layer Alpha", SliderKey::tallestAlpha, 0, 1, false},
    {nullptr, "Shortest Layer Alpha", SliderKey::shortestAlpha, 0, 1, false},
    {"0% Opacity Curve", "Tallest Side Height", SliderKey::tallestZeroOpacitySide, 0.12, 0.995,
     false},
    {nullptr, "Shortest Side Height", SliderKey::shortestZeroOpacitySide, 0.12, 0.995, false},
    {nullptr, "Tallest Center Droop", SliderKey::tallestZeroOpacityDroop, 0, 0.45, false},
    {nullptr, "Shortest Center Droop", SliderKey::shortestZeroOpacityDroop, 0, 0.45, false},
    {"100% Opacity Curve", "Tallest Side Height", SliderKey::tallestFullOpacitySide, 0, 0.9, false},
    {nullptr, "Shortest Side Height", SliderKey::shortestFullOpacitySide, 0, 0.9, false},
    {nullptr, "Tallest Center Droop", SliderKey::tallestFullOpacityDroop, 0, 0.45, false},
    {nullptr, "Shortest Center Droop", SliderKey::shortestFullOpacityDroop, 0, 0.45, false},
};

inline constexpr const char* kTuningPanelTitle = "Frost Curtain Tuner";
inline constexpr double kMinimumLayoutWidth = 580;

const SliderRow& sliderRow(SliderKey key);
double parameterValue(const PreviewParameters& parameters, SliderKey key);
// `layerCount` takes the value rounded to a whole number.
void setParameterValue(PreviewParameters& parameters, SliderKey key, double value);

// Whole numbers: rounded, halves away from zero; otherwise three decimals.
std::string formattedValue(double value, bool wholeNumbersOnly);

}  // namespace tessary::curtain
