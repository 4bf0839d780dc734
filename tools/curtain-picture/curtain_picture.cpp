// curtain-picture: renders the composed curtain of a parameter set into a PNG,
// so a person can look at a parameter set without a Mac. Every band's mask
// times its target alpha is laid over the picture as on screen, tallest band
// first, each as a frosted (blurred and tinted) copy of what lies behind.
//
//   curtain-picture [--parameters copied.json] [--screen WxH] [--scale S]
//                   [--background picture.png] output.png
//
// The parameters file is the JSON the Copy action puts on the pasteboard;
// missing keys keep their defaults. The screen is in points (default
// 1728x1117) and the scale gives pixels per point (default 1).
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "common/numbers.h"
#include "frost-curtain/band_mask.h"
#include "frost-curtain/preview_parameters.h"

namespace {

using namespace tessary;
using namespace tessary::curtain;

struct Picture {
  int64_t width = 0, height = 0;
  std::vector<float> rgb;  // 0..255, rows top first
  float* at(int64_t x, int64_t y) { return &rgb[static_cast<size_t>((y * width + x) * 3)]; }
};

Picture checkerboard(int64_t width, int64_t height) {
  Picture picture{width, height, std::vector<float>(static_cast<size_t>(width * height * 3))};
  const int64_t square = std::max<int64_t>(8, width / 27);
  for (int64_t y = 0; y < height; ++y) {
    for (int64_t x = 0; x < width; ++x) {
      const bool dark = ((x / square) + (y / square)) % 2 == 0;
      const float hue = static_cast<float>(x) / static_cast<float>(width);
      float* pixel = picture.at(x, y);
      pixel[0] = dark ? 40 + 180 * hue : 245;
      pixel[1] = dark ? 70 : 245;
      pixel[2] = dark ? 200 - 150 * hue : 235;
    }
  }
  return picture;
}

std::optional<Picture> readPng(const std::string& path, int64_t width, int64_t height) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return std::nullopt;
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> bytes(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, bytes.data(), 0, nullptr)) return std::nullopt;
  // Scaled to the screen by nearest neighbour.
  Picture picture{width, height, std::vector<float>(static_cast<size_t>(width * height * 3))};
  for (int64_t y = 0; y < height; ++y) {
    for (int64_t x = 0; x < width; ++x) {
      const int64_t sx = x * image.width / width, sy = y * image.height / height;
      for (int k = 0; k < 3; ++k)
        picture.at(x, y)[k] = bytes[static_cast<size_t>((sy * image.width + sx) * 3 + k)];
    }
  }
  return picture;
}

// Three passes of a box blur along each axis: close to a Gaussian.
Picture blurred(const Picture& source, int radius) {
  Picture out = source, scratch = source;
  auto pass = [&](Picture& from, Picture& to, bool horizontal) {
    const int64_t lines = horizontal ? from.height : from.width;
    const int64_t length = horizontal ? from.width : from.height;
    for (int64_t line = 0; line < lines; ++line) {
      for (int k = 0; k < 3; ++k) {
        double sum = 0;
        auto value = [&](int64_t i) {
          i = std::clamp<int64_t>(i, 0, length - 1);
          return horizontal ? from.at(i, line)[k] : from.at(line, i)[k];
        };
        for (int64_t i = -radius; i <= radius; ++i)
          sum += value(i);
        for (int64_t i = 0; i < length; ++i) {
          (horizontal ? to.at(i, line) : to.at(line, i))[k] =
              static_cast<float>(sum / (2 * radius + 1));
          sum += value(i + radius + 1) - value(i - radius);
        }
      }
    }
  };
  for (int round = 0; round < 3; ++round) {
    pass(out, scratch, true);
    pass(scratch, out, false);
  }
  return out;
}

// What each material tints the blur towards, and how strongly.
void materialTint(int material, float tint[3], float& strength) {
  switch (material) {
    case 1:
      tint[0] = tint[1] = tint[2] = 246;
      strength = 0.55f;
      return;  // light
    case 8:
      tint[0] = tint[1] = tint[2] = 225;
      strength = 0.45f;
      return;  // medium light
    case 9:
      tint[0] = tint[1] = tint[2] = 12;
      strength = 0.7f;
      return;  // ultra dark
    case 0:
      tint[0] = tint[1] = tint[2] = 200;
      strength = 0.35f;
      return;  // appearance based
    default:
      tint[0] = tint[1] = tint[2] = 28;
      strength = 0.55f;
      return;  // dark
  }
}

std::optional<PreviewParameters> readParameters(const std::string& path) {
  std::ifstream file(path);
  if (!file) return std::nullopt;
  nlohmann::json json = nlohmann::json::parse(file, nullptr, false);
  if (!json.is_object()) return std::nullopt;
  PreviewParameters p;
  auto real = [&](const char* key, double& field) {
    if (json.contains(key) && json[key].is_number()) field = json[key].get<double>();
  };
  real("heightRatio", p.heightRatio);
  if (json.contains("layerCount") && json["layerCount"].is_number_integer()) {
    p.layerCount = json["layerCount"].get<int64_t>();
  }
  real("opacityExponent", p.opacityExponent);
  real("curveExponent", p.curveExponent);
  if (json.contains("materialName") && json["materialName"].is_string()) {
    p.materialName = json["materialName"].get<std::string>();
  }
  real("tallestHeightMultiplier", p.tallestHeightMultiplier);
  real("shortestHeightMultiplier", p.shortestHeightMultiplier);
  real("tallestAlpha", p.tallestAlpha);
  real("shortestAlpha", p.shortestAlpha);
  real("tallestZeroOpacitySide", p.tallestZeroOpacitySide);
  real("shortestZeroOpacitySide", p.shortestZeroOpacitySide);
  real("tallestZeroOpacityDroop", p.tallestZeroOpacityDroop);
  real("shortestZeroOpacityDroop", p.shortestZeroOpacityDroop);
  real("tallestFullOpacitySide", p.tallestFullOpacitySide);
  real("shortestFullOpacitySide", p.shortestFullOpacitySide);
  real("tallestFullOpacityDroop", p.tallestFullOpacityDroop);
  real("shortestFullOpacityDroop", p.shortestFullOpacityDroop);
  return p;
}

int usage() {
  std::cerr << "usage: curtain-picture [--parameters copied.json] [--screen WxH] [--scale S] "
               "[--background picture.png] output.png\n";
  return 64;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  PreviewParameters parameters;
  double screenWidth = 1728, screenHeight = 1117, scale = 1;
  std::optional<std::string> background, output;
  for (size_t i = 0; i < args.size(); ++i) {
    const bool hasValue = i + 1 < args.size();
    if (args[i] == "--parameters" && hasValue) {
      std::optional<PreviewParameters> read = readParameters(args[++i]);
      if (!read) {
        std::cerr << "curtain-picture: cannot read parameters from " << args[i] << "\n";
        return 1;
      }
      parameters = *read;
    } else if (args[i] == "--screen" && hasValue) {
      const std::string& size = args[++i];
      const size_t x = size.find('x');
      std::optional<double> w = parseDouble(size.substr(0, x));
      std::optional<double> h =
          x == std::string::npos ? std::nullopt : parseDouble(size.substr(x + 1));
      if (!w || !h || !(*w >= 1 && *w <= 8192) || !(*h >= 1 && *h <= 8192)) return usage();
      screenWidth = *w;
      screenHeight = *h;
    } else if (args[i] == "--scale" && hasValue) {
      std::optional<double> s = parseDouble(args[++i]);
      if (!s || !(*s > 0 && *s <= 4)) return usage();
      scale = *s;
    } else if (args[i] == "--background" && hasValue) {
      background = args[++i];
    } else if (!output && args[i].rfind("--", 0) != 0) {
      output = args[i];
    } else {
      return usage();
    }
  }
  if (!output) return usage();

  parameters = sanitize(parameters);
  const int64_t width = maskPixelExtent(screenWidth, scale);
  const int64_t height = maskPixelExtent(screenHeight, scale);
  Picture picture = checkerboard(width, height);
  if (background) {
    std::optional<Picture> read = readPng(*background, width, height);
    if (!read) {
      std::cerr << "curtain-picture: cannot read " << *background << "\n";
      return 1;
    }
    picture = std::move(*read);
  }

  float tint[3], strength;
  materialTint(materialValue(parameters.materialName), tint, strength);
  const Rect screen{0, 0, screenWidth, screenHeight};
  for (const BlurLayerSpec& spec : bandSpecs(parameters)) {
    const Rect frame = targetFrame(screen, parameters.heightRatio, spec);
    const int64_t bandHeight = std::min(maskPixelExtent(frame.h, scale), height);
    const MaskImage mask =
        renderMask({spec, parameters.opacityExponent, parameters.curveExponent}, width, bandHeight);
    // What shows through this band: the picture so far, frosted.
    const Picture frosted = blurred(picture, std::max(2, static_cast<int>(6 * scale)));
    const int64_t top = height - bandHeight;
    for (int64_t y = 0; y < bandHeight; ++y) {
      for (int64_t x = 0; x < width; ++x) {
        const float alpha =
            static_cast<float>(mask.rgba[static_cast<size_t>((y * width + x) * 4 + 3)]) / 255.0f *
            static_cast<float>(spec.targetAlpha);
        float* pixel = picture.at(x, top + y);
        const float* behind = const_cast<Picture&>(frosted).at(x, top + y);
        for (int k = 0; k < 3; ++k) {
          const float glass = behind[k] * (1 - strength) + tint[k] * strength;
          pixel[k] = pixel[k] * (1 - alpha) + glass * alpha;
        }
      }
    }
  }

  std::vector<uint8_t> bytes(static_cast<size_t>(width * height * 3));
  for (size_t i = 0; i < bytes.size(); ++i)
    bytes[i] = static_cast<uint8_t>(std::clamp(std::lround(picture.rgb[i]), 0L, 255L));
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_RGB;
  if (!png_image_write_to_file(&image, output->c_str(), 0, bytes.data(), 0, nullptr)) {
    std::cerr << "curtain-picture: cannot write " << *output << ": " << image.message << "\n";
    return 1;
  }
  return 0;
}
