#include "frost-curtain/preview_parameters.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "common/json.h"

namespace tessary::curtain {

int materialValue(std::string_view name) {
  for (const MaterialSpec& spec : kMaterials) {
    if (name == spec.name) return spec.material;
  }
  return kDarkMaterial;
}

bool isMaterialName(std::string_view name) {
  return std::any_of(std::begin(kMaterials), std::end(kMaterials),
                     [&](const MaterialSpec& spec) { return name == spec.name; });
}

double clampValue(double value, double low, double high) {
  if (std::isnan(value)) return low;
  return std::max(std::min(value, high), low);
}

PreviewParameters sanitize(const PreviewParameters& input) {
  PreviewParameters p = input;
  p.layerCount = std::max<int64_t>(std::min<int64_t>(p.layerCount, 10), 1);
  if (!isMaterialName(p.materialName)) p.materialName = "dark";
  p.heightRatio = clampValue(p.heightRatio, 0.05, 1.8);
  p.opacityExponent = clampValue(p.opacityExponent, 0.2, 4.0);
  p.curveExponent = clampValue(p.curveExponent, 0.2, 3.0);
  p.tallestHeightMultiplier = clampValue(p.tallestHeightMultiplier, 0.08, 1.8);
  p.shortestHeightMultiplier = clampValue(p.shortestHeightMultiplier, 0.08, 1.8);
  if (p.tallestHeightMultiplier < p.shortestHeightMultiplier) {
    std::swap(p.tallestHeightMultiplier, p.shortestHeightMultiplier);
  }
  p.tallestAlpha = clampValue(p.tallestAlpha, 0, 1);
  p.shortestAlpha = clampValue(p.shortestAlpha, 0, 1);
  p.tallestZeroOpacitySide = clampValue(p.tallestZeroOpacitySide, 0.12, 0.995);
  p.shortestZeroOpacitySide = clampValue(p.shortestZeroOpacitySide, 0.12, 0.995);
  p.tallestZeroOpacityDroop =
      clampValue(p.tallestZeroOpacityDroop, 0, p.tallestZeroOpacitySide - 0.05);
  p.shortestZeroOpacityDroop =
      clampValue(p.shortestZeroOpacityDroop, 0, p.shortestZeroOpacitySide - 0.05);
  p.tallestFullOpacitySide =
      clampValue(p.tallestFullOpacitySide, 0, p.tallestZeroOpacitySide - 0.05);
  p.shortestFullOpacitySide =
      clampValue(p.shortestFullOpacitySide, 0, p.shortestZeroOpacitySide - 0.05);
  p.tallestFullOpacityDroop = clampValue(p.tallestFullOpacityDroop, 0, p.tallestFullOpacitySide);
  p.shortestFullOpacityDroop = clampValue(p.shortestFullOpacityDroop, 0, p.shortestFullOpacitySide);
  return p;
}

std::vector<BlurLayerSpec> bandSpecs(const PreviewParameters& p) {
  const int64_t n = std::max<int64_t>(p.layerCount, 1);
  const double d = n >= 3 ? static_cast<double>(n - 1) : 1.0;
  std::vector<BlurLayerSpec> specs;
  specs.reserve(static_cast<size_t>(n));
  for (int64_t j = 0; j < n; ++j) {
    const double t = static_cast<double>(j) / d;
    auto lerp = [t](double a, double b) { return a + (b - a) * t; };
    BlurLayerSpec s;
    s.heightMultiplier =
        clampValue(lerp(p.tallestHeightMultiplier, p.shortestHeightMultiplier), 0.08, 1.8);
    s.targetAlpha = clampValue(lerp(p.tallestAlpha, p.shortestAlpha), 0, 1);
    s.zeroOpacitySide =
        clampValue(lerp(p.tallestZeroOpacitySide, p.shortestZeroOpacitySide), 0.08, 0.995);
    const double limit = s.zeroOpacitySide - 0.05;
    s.zeroOpacityDroop =
        clampValue(lerp(p.tallestZeroOpacityDroop, p.shortestZeroOpacityDroop), 0, limit);
    s.fullOpacitySide =
        clampValue(lerp(p.tallestFullOpacitySide, p.shortestFullOpacitySide), 0, limit);
    // Keep the 100 % line at the centre at least 0.05 below the 0 % line there.
    double f = clampValue(lerp(p.tallestFullOpacityDroop, p.shortestFullOpacityDroop), 0,
                          s.fullOpacitySide);
    const double zeroCentre = s.zeroOpacitySide - s.zeroOpacityDroop;
    if (s.fullOpacitySide - f > zeroCentre - 0.05) {
      f = s.fullOpacitySide - (zeroCentre - 0.05);
      if (f < 0) f = 0;
    }
    s.fullOpacityDroop = f < 0 ? 0 : f;
    specs.push_back(s);
  }
  return specs;
}

Rect targetFrame(const Rect& screen, double heightRatio, const BlurLayerSpec& spec) {
  const double height = std::max(screen.h * heightRatio * spec.heightMultiplier, 1.0);
  return Rect{screen.x, screen.y, screen.w, height};
}

Rect parkedFrame(const Rect& frame) {
  const double offset = clampValue(0.16 * frame.h, 26, 96);
  return Rect{frame.x, frame.y - offset, frame.w, frame.h};
}

bool mouseInRect(const Point& point, const Rect& rect) {
  return point.x >= rect.x && point.x < rect.x + rect.w && point.y > rect.y &&
         point.y <= rect.y + rect.h;
}

std::optional<Rect> screenUnderCursor(Screens& screens) {
  const Point pointer = screens.mouseLocation();
  const std::vector<Rect> frames = screens.screenFrames();
  for (const Rect& frame : frames) {
    if (mouseInRect(pointer, frame)) return frame;
  }
  if (std::optional<Rect> main = screens.mainScreenFrame()) return main;
  if (!frames.empty()) return frames.front();
  return std::nullopt;
}

double drawUniform(RandomSource& random, double low, double high) {
  constexpr uint64_t kSteps = uint64_t{1} << 53;
  const double u = static_cast<double>(random.uniformInteger(kSteps)) / static_cast<double>(kSteps);
  return low + (high - low) * u;
}

PreviewParameters randomParameters(RandomSource& random, double baseHeightRatio,
                                   const std::string& materialName) {
  PreviewParameters p;
  p.heightRatio = clampValue(baseHeightRatio + drawUniform(random, -0.05, 0.08), 0.08, 1.5);
  p.layerCount = 1 + static_cast<int64_t>(random.uniformInteger(9));
  p.opacityExponent = drawUniform(random, 0.9, 2.2);
  p.curveExponent = drawUniform(random, 0.8, 1.8);
  p.materialName = materialName;
  p.tallestHeightMultiplier = drawUniform(random, 1.05, 1.6);
  p.shortestHeightMultiplier = drawUniform(random, 0.14, 0.82);
  p.tallestAlpha = drawUniform(random, 0.28, 0.85);
  p.shortestAlpha = drawUniform(random, 0.65, 1.0);
  p.tallestZeroOpacitySide = drawUniform(random, 0.78, 0.96);
  p.shortestZeroOpacitySide = drawUniform(random, 0.2, 0.65);
  p.tallestZeroOpacityDroop = drawUniform(random, 0.08, 0.28);
  p.shortestZeroOpacityDroop = drawUniform(random, 0.03, 0.18);
  p.tallestFullOpacitySide = drawUniform(random, 0.12, 0.26);
  p.shortestFullOpacitySide = drawUniform(random, 0.01, 0.12);
  p.tallestFullOpacityDroop = drawUniform(random, 0.03, 0.12);
  p.shortestFullOpacityDroop = drawUniform(random, 0.01, 0.08);
  return sanitize(p);
}

std::optional<std::string> parametersJson(const PreviewParameters& p) {
  JsonObject object;
  object.set("heightRatio", p.heightRatio);
  object.set("layerCount", p.layerCount);
  object.set("opacityExponent", p.opacityExponent);
  object.set("curveExponent", p.curveExponent);
  object.set("materialName", p.materialName);
  object.set("tallestHeightMultiplier", p.tallestHeightMultiplier);
  object.set("shortestHeightMultiplier", p.shortestHeightMultiplier);
  object.set("tallestAlpha", p.tallestAlpha);
  object.set("shortestAlpha", p.shortestAlpha);
  object.set("tallestZeroOpacitySide", p.tallestZeroOpacitySide);
  object.set("shortestZeroOpacitySide", p.shortestZeroOpacitySide);
  object.set("tallestZeroOpacityDroop", p.tallestZeroOpacityDroop);
  object.set("shortestZeroOpacityDroop", p.shortestZeroOpacityDroop);
  object.set("tallestFullOpacitySide", p.tallestFullOpacitySide);
  object.set("shortestFullOpacitySide", p.shortestFullOpacitySide);
  object.set("tallestFullOpacityDroop", p.tallestFullOpacityDroop);
  object.set("shortestFullOpacityDroop", p.shortestFullOpacityDroop);
  std::string text;
  if (!writeJsonPretty(JsonValue(std::move(object)), text)) return std::nullopt;
  return text;
}

}  // namespace tessary::curtain
