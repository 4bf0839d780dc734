// The curtain's parameters: seventeen tunable values and a material name
// that describe the whole stack of bands, with their sanitizing, the
// per-band values derived from them, the band geometry, the screen the
// curtain goes on, random parameter sets and their JSON form.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/geometry.h"
#include "platform/random_source.h"
#include "platform/screens.h"

namespace tessary::curtain {

inline constexpr double kDefaultHeightRatio = 0.525638483451528;

struct PreviewParameters {
  double heightRatio = kDefaultHeightRatio;
  int64_t layerCount = 8;
  double opacityExponent = 1.8201525497291484;
  double curveExponent = 0.9843073974565228;
  std::string materialName = "dark";
  double tallestHeightMultiplier = 1.1734517967402227;
  double shortestHeightMultiplier = 0.15189505887539573;
  double tallestAlpha = 0.5622468922151332;
  double shortestAlpha = 0.862179504076226;
  double tallestZeroOpacitySide = 0.803404042647185;
  double shortestZeroOpacitySide = 0.41244045076510294;
  double tallestZeroOpacityDroop = 0.09281168863378668;
  double shortestZeroOpacityDroop = 0.10515262019801101;
  double tallestFullOpacitySide = 0.23064220302315439;
  double shortestFullOpacitySide = 0.034374099173501545;
  double tallestFullOpacityDroop = 0.07833875256530871;
  double shortestFullOpacityDroop = 0.02625202571267625;

  bool operator==(const PreviewParameters&) const = default;
};

struct MaterialSpec {
  const char* name;
  int material;  // NSVisualEffectMaterial
};

// In the order of the tuning panel's material menu.
inline constexpr MaterialSpec kMaterials[] = {
    {"appearanceBased", 0}, {"light", 1}, {"dark", 2}, {"mediumLight", 8}, {"ultraDark", 9}};
inline constexpr int kDarkMaterial = 2;

// The material of a name; dark for a name outside the table.
int materialValue(std::string_view name);
bool isMaterialName(std::string_view name);

// min with `high`, then max with `low`; NaN gives `low`.
double clampValue(double value, double low, double high);

PreviewParameters sanitize(const PreviewParameters& parameters);

struct BlurLayerSpec {
  double heightMultiplier = 0;
  double targetAlpha = 0;
  double zeroOpacitySide = 0;
  double zeroOpacityDroop = 0;
  double fullOpacitySide = 0;
  double fullOpacityDroop = 0;

  bool operator==(const BlurLayerSpec&) const = default;
};

// `layerCount` specs, tallest first, from sanitized parameters.
std::vector<BlurLayerSpec> bandSpecs(const PreviewParameters& sanitized);

// Frames are in the platform's screen coordinates (bottom-left origin).
Rect targetFrame(const Rect& screen, double heightRatio, const BlurLayerSpec& spec);
Rect parkedFrame(const Rect& frame);

// NSMouseInRect, not flipped: the bottom edge is outside, the top inside.
bool mouseInRect(const Point& point, const Rect& rect);
// The screen under the pointer, else the main screen, else the first one.
std::optional<Rect> screenUnderCursor(Screens& screens);

// A closed interval drawn as low + (high - low) * u, u one of the 2^53 + 1
// equally spaced values from 0 to 1.
double drawUniform(RandomSource& random, double low, double high);
PreviewParameters randomParameters(RandomSource& random, double baseHeightRatio,
                                   const std::string& materialName);

// Pretty, keys sorted; nothing when the parameters cannot be written (a
// value that is not finite).
std::optional<std::string> parametersJson(const PreviewParameters& parameters);

}  // namespace tessary::curtain
