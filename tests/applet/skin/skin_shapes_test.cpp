#include "applet/skin/skin_shapes.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "applet/skin/error_diffusion.h"

namespace applet {
namespace {

struct Colour {
  uint8_t r, g, b;
  bool operator==(const Colour&) const = default;
};

Colour At(const SkinDib& dib, int x, int y) {
  const uint8_t* p = dib.Row(y) + x * 3;
  return {p[2], p[1], p[0]};
}

SkinDib White(int width, int height) {
  SkinDib dib;
  EXPECT_EQ(dib.Create(width, height, 24), SkinDib::kOk);
  dib.FillWhite();
  return dib;
}

// The colours of a row, one per run, with the run's first column.
std::vector<std::pair<int, Colour>> Bands(const SkinDib& dib, int y) {
  std::vector<std::pair<int, Colour>> bands;
  for (int x = 0; x < dib.Width(); ++x)
    if (bands.empty() || !(bands.back().second == At(dib, x, y))) bands.push_back({x, At(dib, x, y)});
  return bands;
}

TEST(SkinShapesTest, GradientsFillVerticalBands) {
  struct Case {
    const char* name;
    int width;
    SkinColour left, right;
    std::vector<std::pair<int, Colour>> bands;
  };
  const Case cases[] = {
      {"equal colours: one band of the left colour", 10, SkinRgb(5, 6, 7), SkinRgb(5, 6, 7), {{0, {5, 6, 7}}}},
      {"3 pixels from black to white: 3 bands", 3, SkinRgb(0, 0, 0), SkinRgb(255, 255, 255),
       {{0, {0, 0, 0}}, {1, {85, 85, 85}}, {2, {170, 170, 170}}}},
      // n = 4 bands over 10 pixels: edges at 0, 2.5, 5, 7.5, truncated.
      {"4 steps of red over 10 pixels", 10, SkinRgb(10, 0, 0), SkinRgb(14, 0, 0),
       {{0, {10, 0, 0}}, {2, {11, 0, 0}}, {5, {12, 0, 0}}, {7, {13, 0, 0}}}},
      // Falling channels truncate toward zero: i * -3 / 3.
      {"falling blue", 6, SkinRgb(0, 0, 9), SkinRgb(0, 0, 6), {{0, {0, 0, 9}}, {2, {0, 0, 8}}, {4, {0, 0, 7}}}},
  };
  for (const Case& c : cases) {
    SkinDib dib = White(c.width + 2, 2);
    PaintGradient(dib, {1, 0, 1 + c.width, 2}, c.left, c.right);
    auto bands = Bands(dib, 1);
    ASSERT_GE(bands.size(), 2u) << c.name;
    // Drop the white columns on either side and shift back to the rectangle.
    bands.erase(bands.begin());
    bands.pop_back();
    for (auto& band : bands) band.first -= 1;
    EXPECT_EQ(bands, c.bands) << c.name;
  }
}

TEST(SkinShapesTest, TheDualGradientAlternatesEveryTwoRows) {
  SkinDib dib;
  ASSERT_EQ(PaintDualGradient(dib, 4, 7, SkinRgb(0, 0, 0), SkinRgb(0, 0, 0), SkinRgb(200, 0, 0), SkinRgb(200, 0, 0)),
            SkinDib::kOk);
  ASSERT_EQ(dib.Height(), 7);
  const uint8_t expectedRed[] = {0, 0, 200, 200, 0, 0, 200};
  for (int y = 0; y < 7; ++y) EXPECT_EQ(At(dib, 3, y).r, expectedRed[y]) << y;
}

TEST(SkinShapesTest, RectanglesAndLinesKeepToTheClip) {
  SkinDib dib = White(6, 6);
  FillSolidRect(dib, {0, 0, 6, 6}, {2, 2, 4, 4}, SkinRgb(1, 2, 3));
  EXPECT_EQ(At(dib, 2, 2), (Colour{1, 2, 3}));
  EXPECT_EQ(At(dib, 3, 3), (Colour{1, 2, 3}));
  EXPECT_EQ(At(dib, 4, 4), (Colour{255, 255, 255}));
  EXPECT_EQ(At(dib, 1, 2), (Colour{255, 255, 255}));

  SkinDib line = White(6, 3);
  DrawSkinLine(line, {0, 1}, {6, 1}, SkinRgb(9, 9, 9), 1, {2, 0, 4, 3});
  EXPECT_EQ(Bands(line, 1), (std::vector<std::pair<int, Colour>>{
                                {0, {255, 255, 255}}, {2, {9, 9, 9}}, {4, {255, 255, 255}}}));
  EXPECT_EQ(At(line, 3, 0), (Colour{255, 255, 255}));
}

TEST(ErrorDiffusionTest, MidGreyBecomesAMixOfTheTwoNearestLevels) {
  SkinDib dib;
  ASSERT_EQ(dib.Create(16, 8, 24), SkinDib::kOk);
  for (int y = 0; y < 8; ++y) std::fill(dib.Row(y), dib.Row(y) + 48, uint8_t{128});
  DiffuseToDisplayLevels({dib.Row(0), dib.Row(1) - dib.Row(0)}, {dib.Row(0), dib.Row(1) - dib.Row(0)}, 16, 8);
  std::map<int, int> counts;
  long sum = 0;
  for (int y = 0; y < 8; ++y)
    for (int i = 0; i < 48; ++i) {
      ++counts[dib.Row(y)[i]];
      sum += dib.Row(y)[i];
    }
  EXPECT_EQ(counts.size(), 2u);
  EXPECT_GT(counts[119], 0);
  EXPECT_GT(counts[136], 0);
  // The first row, worked by hand: 128 shows 136 (error -8, -4 carried on),
  // 124 shows 119 (error 5, 2 carried on), 130 shows 136, ...
  const uint8_t firstRow[] = {136, 119, 136, 119};
  for (int x = 0; x < 4; ++x) EXPECT_EQ(dib.Row(0)[3 * x], firstRow[x]) << x;
  // The average stays near the grey.
  EXPECT_NEAR(static_cast<double>(sum) / (16 * 8 * 3), 128.0, 2.0);
}

TEST(ErrorDiffusionTest, LevelsAndTheSpreadOfTheError) {
  EXPECT_EQ(DisplayLevel(-5), 0);
  EXPECT_EQ(DisplayLevel(300), 255);
  EXPECT_EQ(DisplayLevel(16), 17);
  EXPECT_EQ(DisplayLevel(255), 255);

  // Levels already on the display's steps stay as they are.
  const uint8_t exact[] = {0, 0, 0, 17, 17, 17, 255, 255, 255};
  uint8_t out[9] = {};
  DiffuseToDisplayLevels({exact, 9}, {out, 9}, 3, 1);
  EXPECT_EQ(std::vector<uint8_t>(out, out + 9), std::vector<uint8_t>(exact, exact + 9));

  // Row one is 0, 15, 0. The 15 shows 0 and its error of 15 goes 7 to the
  // right, 3 below-left, 5 below and 1 below-right; the right pixel then
  // shows 0 with an error of 7, which gives 1 below-left and 2 below.
  // Row two is 13, 10, 13: each pixel reaches 16, and so the level 17, only
  // with every share it is owed.
  const uint8_t grid[] = {0, 0, 0, 15, 15, 15, 0, 0, 0, 13, 13, 13, 10, 10, 10, 13, 13, 13};
  uint8_t shown[18] = {};
  DiffuseToDisplayLevels({grid, 9}, {shown, 9}, 3, 2);
  EXPECT_EQ(std::vector<uint8_t>(shown, shown + 9), std::vector<uint8_t>(9, 0));
  EXPECT_EQ(std::vector<uint8_t>(shown + 9, shown + 18), std::vector<uint8_t>(9, 17));
}

}  // namespace
}  // namespace applet
