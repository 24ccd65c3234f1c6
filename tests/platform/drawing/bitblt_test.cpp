// Copies between bitmaps of the same and of different depths (BitBlt):
// colour tables, the fourth byte, cutting the block to both bitmaps.
#include <gtest/gtest.h>

#include "tests/platform/drawing/canvas.h"

namespace platform {
namespace {

using drawing_test::Canvas;

constexpr ColorRef kA = Rgb(10, 20, 30);
constexpr ColorRef kB = Rgb(200, 100, 50);

// A 2x2 source: kA kB on top, kB kA below; 32-bit pixels get alpha 77.
Canvas Source(int bits) {
  Canvas c(2, 2, bits);
  if (bits == 8) {
    const RgbQuad table[] = {{30, 20, 10, 0}, {50, 100, 200, 0}};
    c.dib->SetColorTable(0, table);
  }
  c.dib->SetPixelColor(0, 0, kA);
  c.dib->SetPixelColor(1, 0, kB);
  c.dib->SetPixelColor(0, 1, kB);
  c.dib->SetPixelColor(1, 1, kA);
  if (bits == 32) {
    for (size_t i = 3; i < c.dib->ImageSize(); i += 4) c.dib->Bits()[i] = 77;
  }
  return c;
}

struct DepthCase {
  int from, to;
};

class DepthCopyTest : public testing::TestWithParam<DepthCase> {};

TEST_P(DepthCopyTest, CopiesEveryColour) {
  Canvas source = Source(GetParam().from);
  Canvas target(3, 3, GetParam().to);
  if (GetParam().to == 8) {
    // A table holding the two colours among others.
    const RgbQuad table[] = {{0, 0, 0, 0}, {255, 255, 255, 0}, {30, 20, 10, 0}, {50, 100, 200, 0}};
    target.dib->SetColorTable(0, table);
  }
  if (GetParam().to == 32) {
    for (size_t i = 3; i < target.dib->ImageSize(); i += 4) target.dib->Bits()[i] = 5;
  }
  ASSERT_TRUE(target.dc.BitBlt(1, 1, 2, 2, source.dc, 0, 0));
  EXPECT_EQ(target.dib->PixelColor(1, 1), kA);
  EXPECT_EQ(target.dib->PixelColor(2, 1), kB);
  EXPECT_EQ(target.dib->PixelColor(1, 2), kB);
  EXPECT_EQ(target.dib->PixelColor(2, 2), kA);
  EXPECT_NE(target.dib->PixelColor(0, 0), kA);
  if (GetParam().to == 32) {
    // 32 to 32 copies the fourth byte; from other depths it stays.
    const uint8_t expected = GetParam().from == 32 ? 77 : 5;
    EXPECT_EQ(target.dib->Row(1)[4 + 3], expected);
    EXPECT_EQ(target.dib->Row(0)[3], 5);
  }
}

INSTANTIATE_TEST_SUITE_P(Depths, DepthCopyTest,
                         testing::Values(DepthCase{8, 8}, DepthCase{8, 24}, DepthCase{8, 32},
                                         DepthCase{24, 8}, DepthCase{24, 24}, DepthCase{24, 32},
                                         DepthCase{32, 8}, DepthCase{32, 24}, DepthCase{32, 32}),
                         [](const testing::TestParamInfo<DepthCase>& info) {
                           return std::to_string(info.param.from) + "to" +
                                  std::to_string(info.param.to);
                         });

TEST(BitBltTest, EightBitTargetWithTheSameTableCopiesIndexes) {
  Canvas source = Source(8);
  Canvas target(2, 2, 8);
  const RgbQuad table[] = {{30, 20, 10, 0}, {50, 100, 200, 0}};
  target.dib->SetColorTable(0, table);
  target.dc.BitBlt(0, 0, 2, 2, source.dc, 0, 0);
  EXPECT_EQ(target.dib->Row(0)[0], 0);
  EXPECT_EQ(target.dib->Row(0)[1], 1);
}

TEST(BitBltTest, BlockIsCutToTheSourceAndToTheTargetClip) {
  Canvas source = Source(24);
  Canvas target(4, 4, 24);
  const ColorRef paper = Rgb(1, 1, 1);
  target.dc.FillRect(Rect{0, 0, 4, 4}, *Brush::CreateSolid(paper));
  // Asks for a 4x4 block from (-1, -1): only the source's 2x2 exists, and
  // it lands one pixel in from the target corner.
  ASSERT_TRUE(target.dc.BitBlt(0, 0, 4, 4, source.dc, -1, -1));
  EXPECT_EQ(target.dib->PixelColor(0, 0), paper);
  EXPECT_EQ(target.dib->PixelColor(1, 1), kA);
  EXPECT_EQ(target.dib->PixelColor(2, 2), kA);
  EXPECT_EQ(target.dib->PixelColor(3, 3), paper);

  target.dc.FillRect(Rect{0, 0, 4, 4}, *Brush::CreateSolid(paper));
  target.dc.SetClipRect(Rect{0, 0, 1, 4});
  target.dc.BitBlt(0, 0, 2, 2, source.dc, 0, 0);
  EXPECT_EQ(target.dib->PixelColor(0, 0), kA);
  EXPECT_EQ(target.dib->PixelColor(1, 0), paper);
}

TEST(BitBltTest, OverlappingCopyWithinOneBitmapReadsBeforeItWrites) {
  Canvas c(1, 4, 24);
  for (int y = 0; y < 4; ++y) c.dib->SetPixelColor(0, y, Rgb(static_cast<uint8_t>(y), 0, 0));
  ASSERT_TRUE(c.dc.BitBlt(0, 1, 1, 3, c.dc, 0, 0));  // shift down by one
  for (int y = 1; y < 4; ++y) EXPECT_EQ(c.dib->PixelColor(0, y), Rgb(static_cast<uint8_t>(y - 1), 0, 0));
}

TEST(BitBltTest, RefusesOtherOperationsNegativeSizesAndMissingBitmaps) {
  Canvas source = Source(24);
  Canvas target(2, 2, 24);
  DeviceContext empty;
  EXPECT_FALSE(target.dc.BitBlt(0, 0, 2, 2, source.dc, 0, 0, 0x00EE0086));
  EXPECT_FALSE(target.dc.BitBlt(0, 0, -2, 2, source.dc, 0, 0));
  EXPECT_FALSE(target.dc.BitBlt(0, 0, 2, 2, empty, 0, 0));
  EXPECT_FALSE(empty.BitBlt(0, 0, 2, 2, source.dc, 0, 0));
}

}  // namespace
}  // namespace platform
