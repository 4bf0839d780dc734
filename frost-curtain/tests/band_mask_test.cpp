// The band mask: the worked example, the line shapes, and the fast renderer
// against the literal per-pixel formula.
#include "frost-curtain/band_mask.h"

#include <gtest/gtest.h>

#include <random>

namespace tessary::curtain {
namespace {

MaskShape exampleShape() {
  MaskShape shape;
  shape.spec.zeroOpacitySide = 0.8;
  shape.spec.zeroOpacityDroop = 0.1;
  shape.spec.fullOpacitySide = 0.2;
  shape.spec.fullOpacityDroop = 0.05;
  shape.opacityExponent = 1;
  shape.curveExponent = 1;
  return shape;
}

uint8_t alphaOf(const MaskImage& image, int64_t column, int64_t row) {
  return image.rgba[static_cast<size_t>((row * image.width + column) * 4 + 3)];
}

// A mask whose row r has y = (H - 1 - r) / (H - 1): H = 401 gives rows at
// every 0.0025, so y = 0.425 is row 230.
TEST(BandMask, WorkedExampleAtTheCentreAndEdges) {
  const MaskShape shape = exampleShape();
  const int64_t width = 201, height = 401, centre = 100;
  EXPECT_EQ(maskAlphaAt(shape, width, height, centre, 230), 127);  // y = 0.425, a = 0.5
  // Centre: 0 % line at 0.7, 100 % line at 0.15.
  EXPECT_EQ(maskAlphaAt(shape, width, height, centre, 120), 0);    // y = 0.7
  EXPECT_GT(maskAlphaAt(shape, width, height, centre, 121), 0);    // y = 0.6975
  EXPECT_EQ(maskAlphaAt(shape, width, height, centre, 340), 255);  // y = 0.15
  EXPECT_LT(maskAlphaAt(shape, width, height, centre, 339), 255);
  // Edges: the lines at 0.8 and 0.2.
  for (int64_t edge : {int64_t{0}, width - 1}) {
    EXPECT_EQ(maskAlphaAt(shape, width, height, edge, 80), 0);  // y = 0.8
    EXPECT_GT(maskAlphaAt(shape, width, height, edge, 81), 0);
    EXPECT_EQ(maskAlphaAt(shape, width, height, edge, 320), 255);  // y = 0.2
    EXPECT_LT(maskAlphaAt(shape, width, height, edge, 319), 255);
  }
  MaskImage image = renderMask(shape, width, height);
  EXPECT_EQ(alphaOf(image, centre, 230), 127);
}

// The share of the width where the 0 % line lies at or below y: a large
// curve exponent keeps the line near its centre height over most of the width.
double fractionOfWidthBelow(double curveExponent, double y) {
  MaskShape shape = exampleShape();
  shape.curveExponent = curveExponent;
  const int64_t width = 1001, height = 1001;
  const int64_t row = static_cast<int64_t>((1 - y) * (height - 1));
  int below = 0;  // columns where this row is already transparent
  for (int64_t c = 0; c < width; ++c)
    below += maskAlphaAt(shape, width, height, c, row) == 0;
  return static_cast<double>(below) / width;
}

TEST(BandMask, CurveExponentSetsHowWideTheSagIs) {
  const double steep = fractionOfWidthBelow(3.0, 0.75);
  const double linear = fractionOfWidthBelow(1.0, 0.75);
  const double narrow = fractionOfWidthBelow(0.2, 0.75);
  // The 0 % line is at 0.75 where e = 0.5, so where |2x - 1| = 0.5^(1 / 2k);
  // just below the line the alpha byte is still 0, which widens each a bit.
  EXPECT_NEAR(steep, 0.891, 0.03);
  EXPECT_NEAR(linear, 0.707, 0.03);
  EXPECT_NEAR(narrow, 0.177, 0.03);
  // Below the clamp the exponent counts as 0.2.
  EXPECT_EQ(fractionOfWidthBelow(0.01, 0.75), narrow);
}

TEST(BandMask, OnePixelHighMaskHasItsOnlyRowAtTheBottom) {
  const MaskShape shape = exampleShape();
  MaskImage image = renderMask(shape, 5, 1);
  ASSERT_EQ(image.rgba.size(), 5u * 4);
  for (int64_t c = 0; c < 5; ++c)
    EXPECT_EQ(alphaOf(image, c, 0), 255) << c;  // y = 0, below every 100 % line
  EXPECT_EQ(maskPixelExtent(0.3, 2), 1);
  EXPECT_EQ(maskPixelExtent(0, 1), 1);
  EXPECT_EQ(maskPixelExtent(100.2, 2), 201);
  EXPECT_EQ(maskPixelExtent(std::numeric_limits<double>::infinity(), 1), 0);
  EXPECT_EQ(maskPixelExtent(std::numeric_limits<double>::quiet_NaN(), 1), 0);
}

TEST(BandMask, EveryPixelIsWhiteWithItsAlpha) {
  MaskImage image = renderMask(exampleShape(), 7, 9);
  ASSERT_EQ(image.width, 7);
  ASSERT_EQ(image.height, 9);
  for (size_t i = 0; i < image.rgba.size(); i += 4) {
    EXPECT_EQ(image.rgba[i], 255);
    EXPECT_EQ(image.rgba[i + 1], 255);
    EXPECT_EQ(image.rgba[i + 2], 255);
  }
}

TEST(BandMask, TooLargeOrEmptyMasksAreNotMade) {
  EXPECT_TRUE(renderMask(exampleShape(), 0, 10).rgba.empty());
  EXPECT_TRUE(renderMask(exampleShape(), kMaxMaskPixels, 2).rgba.empty());
}

std::vector<MaskShape> shapesToCompare() {
  std::vector<MaskShape> shapes;
  shapes.push_back(exampleShape());
  PreviewParameters defaults = sanitize(PreviewParameters{});
  for (const BlurLayerSpec& spec : bandSpecs(defaults))
    shapes.push_back({spec, defaults.opacityExponent, defaults.curveExponent});
  for (double opacity : {0.2, 0.05, 4.0, 9.0}) {
    for (double curve : {0.2, 0.0, 3.0, 7.0}) {
      MaskShape shape = exampleShape();
      shape.opacityExponent = opacity;
      shape.curveExponent = curve;
      shapes.push_back(shape);
    }
  }
  // Lines pressed together: the soft edge is thinner than a pixel.
  MaskShape thin;
  thin.spec = {1, 1, 0.5, 0.0, 0.49, 0.0};
  thin.opacityExponent = 0.2;
  shapes.push_back(thin);
  // Lines that rise towards the centre (droops below zero).
  MaskShape rising = exampleShape();
  rising.spec.zeroOpacityDroop = -0.1;
  rising.spec.fullOpacityDroop = -0.05;
  shapes.push_back(rising);
  // Droops that push the lines into their clamps.
  MaskShape clamped;
  clamped.spec = {1, 1, 0.995, 0.99, 0.9, 0.9};
  clamped.opacityExponent = 3.3;
  clamped.curveExponent = 0.7;
  shapes.push_back(clamped);
  return shapes;
}

// Pixels of the rendered mask that differ from the formula; the first few
// are reported.
int mismatchesWithTheFormula(const MaskShape& shape, int64_t width, int64_t height) {
  MaskImage image = renderMask(shape, width, height);
  int mismatches = 0;
  for (int64_t r = 0; r < height; ++r) {
    for (int64_t c = 0; c < width; ++c) {
      if (alphaOf(image, c, r) != maskAlphaAt(shape, width, height, c, r) && ++mismatches < 4) {
        ADD_FAILURE() << width << "x" << height << " pixel " << c << "," << r << " exponents "
                      << shape.opacityExponent << "/" << shape.curveExponent;
      }
    }
  }
  return mismatches;
}

TEST(BandMask, FastRendererMatchesTheFormulaOnEveryPixelOfSmallMasks) {
  const std::pair<int64_t, int64_t> sizes[] = {{1, 1}, {2, 3}, {17, 13}, {64, 101}, {301, 257}};
  for (const MaskShape& shape : shapesToCompare()) {
    for (const auto& [width, height] : sizes)
      EXPECT_EQ(mismatchesWithTheFormula(shape, width, height), 0);
  }
}

// With a linear ramp from 0.1 to 0.9 and 2,551 rows (y = n / 2550), the line
// of every alpha byte k, 0.9 - 0.8 k / 255 = (2295 - 8 k) / 2550, falls on a
// row to within a rounding: the renderer's runs cannot tell those pixels and
// must work them out exactly. Small droops put the lines of the columns
// near the centre on rows too.
TEST(BandMask, FastRendererIsExactWhereAlphaLinesFallOnRows) {
  for (double droop : {0.0, 0.004, 0.0392156862745098}) {
    MaskShape shape;
    shape.spec = {1, 1, 0.9, droop, 0.1, droop};
    shape.opacityExponent = 1;
    shape.curveExponent = 1;
    for (int64_t width : {64, 65})
      EXPECT_EQ(mismatchesWithTheFormula(shape, width, 2551), 0) << "droop " << droop;
  }
}

TEST(BandMask, FastRendererMatchesTheFormulaOnSampledPixelsOfLargeMasks) {
  std::mt19937_64 generator(7);
  for (const MaskShape& shape : shapesToCompare()) {
    const int64_t width = 3456, height = 1 + static_cast<int64_t>(generator() % 2400);
    MaskImage image = renderMask(shape, width, height);
    int mismatches = 0;
    for (int i = 0; i < 40000; ++i) {
      const int64_t c = static_cast<int64_t>(generator() % width);
      const int64_t r = static_cast<int64_t>(generator() % height);
      if (alphaOf(image, c, r) != maskAlphaAt(shape, width, height, c, r)) ++mismatches;
    }
    EXPECT_EQ(mismatches, 0) << height << " rows, exponents " << shape.opacityExponent << "/"
                             << shape.curveExponent;
  }
}

}  // namespace
}  // namespace tessary::curtain
