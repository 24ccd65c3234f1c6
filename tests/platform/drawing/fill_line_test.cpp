// Solid fills, rectangles and lines through a device context, pixel for
// pixel, with clipping and the viewport origin.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/platform/drawing/canvas.h"

namespace platform {
namespace {

using drawing_test::Canvas;
using drawing_test::Picture;
using Rows = std::vector<std::string>;

constexpr ColorRef kInk = Rgb(200, 10, 20);

TEST(FillTest, FillsTheRectangleWithinTheClipInEveryDepth) {
  for (int bits : {8, 24, 32}) {
    SCOPED_TRACE(bits);
    Canvas c(6, 4, bits);
    if (bits == 8) {
      const RgbQuad table[] = {{0, 0, 0, 0}, {20, 10, 200, 0}};
      c.dib->SetColorTable(0, table);
    }
    c.dc.SetClipRect(Rect{0, 0, 4, 4});
    EXPECT_TRUE(c.dc.FillRect(Rect{1, 1, 10, 3}, *Brush::CreateSolid(kInk)));
    EXPECT_EQ(Picture(*c.dib, kInk), (Rows{"......", ".###..", ".###..", "......"}));
  }
}

TEST(FillTest, LeavesTheFourthByteOfThirtyTwoBitPixels) {
  Canvas c(3, 2, 32);
  for (size_t i = 3; i < c.dib->ImageSize(); i += 4) c.dib->Bits()[i] = 9;
  c.dc.FillRect(Rect{0, 0, 3, 2}, *Brush::CreateSolid(Rgb(1, 2, 3)));
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x) {
      const uint8_t* p = c.dib->Row(y) + x * 4;
      EXPECT_EQ(p[0], 3);
      EXPECT_EQ(p[2], 1);
      EXPECT_EQ(p[3], 9);
    }
  }
}

TEST(FillTest, OriginMovesDrawingAndHollowBrushesFillNothing) {
  Canvas c(5, 3, 24);
  EXPECT_EQ(c.dc.SetViewportOrigin(Point{2, 1}), (Point{0, 0}));
  c.dc.FillRect(Rect{0, 0, 2, 1}, *Brush::CreateSolid(kInk));
  c.dc.FillRect(Rect{-2, -1, 3, 2}, *GetStockBrush(StockBrush::Hollow));
  EXPECT_EQ(Picture(*c.dib, kInk), (Rows{".....", "..##.", "....."}));
  EXPECT_EQ(c.dc.GetPixel(0, 0), kInk);
  EXPECT_EQ(c.dc.GetPixel(3, 0), DeviceContext::kInvalidColor);  // outside the bitmap
  EXPECT_EQ(c.dc.ClipBox(), (Rect{-2, -1, 3, 2}));
}

TEST(FillTest, ContextWithoutBitmapDrawsNothing) {
  DeviceContext dc;
  EXPECT_FALSE(dc.FillRect(Rect{0, 0, 1, 1}, *GetStockBrush(StockBrush::Black)));
  EXPECT_FALSE(dc.LineTo(Point{3, 3}));
  EXPECT_EQ(dc.ClipBox(), Rect{});
}

TEST(SelectionTest, EachSelectionReturnsWhatItReplaces) {
  DeviceContext dc;
  const auto dib = DibSection::Create(1, 1, 24);
  EXPECT_EQ(dc.SelectBitmap(dib), nullptr);
  EXPECT_EQ(dc.SelectBitmap(nullptr), dib);

  const auto pen = Pen::Create(kPsSolid, 3, kInk);
  EXPECT_EQ(dc.SelectPen(pen), GetStockPen(StockPen::Black));
  EXPECT_EQ(dc.SelectPen(nullptr), nullptr);  // refused, the pen stays
  EXPECT_EQ(dc.CurrentPen(), pen);

  const auto brush = Brush::CreateSolid(kInk);
  EXPECT_EQ(dc.SelectBrush(brush), GetStockBrush(StockBrush::White));
  EXPECT_EQ(dc.SelectFont(GetSystemFont()), GetSystemFont());

  EXPECT_EQ(dc.SetTextColor(kInk), Rgb(0, 0, 0));
  EXPECT_EQ(dc.SetBkColor(0), Rgb(255, 255, 255));
  EXPECT_EQ(dc.SetBkMode(kTransparent), kOpaque);
  EXPECT_EQ(dc.SetBkMode(7), 0);
  EXPECT_EQ(dc.BkMode(), kTransparent);
}

TEST(DeviceCapsTest, DescribeTheHandheldScreen) {
  DeviceContext dc;
  EXPECT_EQ(dc.GetDeviceCaps(kLogPixelsY), 96);
  EXPECT_EQ(dc.GetDeviceCaps(kLogPixelsX), 96);
  EXPECT_EQ(dc.GetDeviceCaps(kBitsPixel), 16);
  EXPECT_EQ(dc.GetDeviceCaps(kPlanes), 1);
  EXPECT_EQ(dc.GetDeviceCaps(kRasterCaps) & kRcPalette, 0);
  EXPECT_EQ(dc.GetDeviceCaps(kHorzRes), 240);
  EXPECT_EQ(dc.GetDeviceCaps(kVertRes), 320);
}

struct LineCase {
  const char* name;
  Point from, to;
  int width;
  Rect clip;
  Rows expected;
};

class LineTest : public testing::TestWithParam<LineCase> {};

TEST_P(LineTest, CoversExactlyThesePixels) {
  const LineCase& c = GetParam();
  Canvas canvas(static_cast<int>(c.expected[0].size()), static_cast<int>(c.expected.size()), 24);
  canvas.dc.SetClipRect(c.clip);
  canvas.dc.SelectPen(Pen::Create(kPsSolid, c.width, kInk));
  canvas.dc.MoveTo(c.from);
  EXPECT_TRUE(canvas.dc.LineTo(c.to));
  EXPECT_EQ(canvas.dc.CurrentPosition(), c.to);
  EXPECT_EQ(Picture(*canvas.dib, kInk), c.expected);
}

const Rect kAll{0, 0, 100, 100};

INSTANTIATE_TEST_SUITE_P(
    Lines, LineTest,
    testing::Values(
        LineCase{"horizontalEndExcluded", {1, 1}, {5, 1}, 1, kAll, {"......", ".####.", "......"}},
        LineCase{"leftward", {5, 1}, {1, 1}, 1, kAll, {"......", "..####", "......"}},
        LineCase{"vertical", {1, 0}, {1, 3}, 0, kAll, {".#.", ".#.", ".#.", "..."}},
        LineCase{"diagonal", {0, 0}, {4, 4}, 1, kAll,
                 {"#....", ".#...", "..#..", "...#.", "....."}},
        LineCase{"shallowRoundsHalvesAwayFromTheStart", {0, 0}, {4, 2}, 1, kAll,
                 {"#....", ".##..", "...#.", "....."}},
        LineCase{"steepUpward", {0, 3}, {2, 0}, 1, kAll, {"...", ".#.", ".#.", "#.."}},
        LineCase{"zeroLength", {2, 1}, {2, 1}, 3, kAll, {".....", ".....", "....."}},
        LineCase{"clipped", {0, 1}, {6, 1}, 1, Rect{2, 0, 4, 3}, {"......", "..##..", "......"}},
        LineCase{"widthThreeRoundEnds", {2, 2}, {5, 2}, 3, kAll,
                 {"........", ".######.", ".######.", ".######.", "........"}},
        LineCase{"widthTwoStraddlesUpAndLeft", {2, 2}, {5, 2}, 2, kAll,
                 {"........", ".#####..", ".#####..", "........"}},
        LineCase{"widthFiveCornersRounded", {3, 3}, {4, 3}, 5, kAll,
                 {"........", "..####..", ".######.", ".######.", ".######.", "..####..",
                  "........"}},
        LineCase{"wideVertical", {2, 1}, {2, 4}, 3, kAll,
                 {".###.", ".###.", ".###.", ".###.", ".###.", ".###.", "....."}},
        LineCase{"wideClipped", {0, 2}, {9, 2}, 3, Rect{3, 2, 6, 9},
                 {"..........", "..........", "...###....", "...###....", ".........."}},
        LineCase{"fromFarOutsideThroughTheClip", {-100000000, 1}, {100000000, 1}, 1, kAll,
                 {"....", "####", "...."}}),
    [](const testing::TestParamInfo<LineCase>& info) { return std::string(info.param.name); });

TEST(LineTest, CoordinatesBeyondTheLimitOrANullPenDrawNothing) {
  Canvas c(4, 4, 24);
  c.dc.SelectPen(Pen::Create(kPsSolid, 1, kInk));
  c.dc.MoveTo(Point{0, 0});
  EXPECT_FALSE(c.dc.LineTo(Point{kMaxDrawingCoordinate + 1, 0}));
  c.dc.SelectPen(GetStockPen(StockPen::Null));
  c.dc.MoveTo(Point{0, 1});
  EXPECT_TRUE(c.dc.LineTo(Point{3, 1}));
  EXPECT_EQ(Picture(*c.dib, kInk), (Rows{"....", "....", "....", "...."}));
}

TEST(DrawingRangeTest, ExtremeCoordinatesAreCutOrRefusedNeverOverflow) {
  constexpr int kMin = INT32_MIN, kMax = INT32_MAX;
  Canvas c(3, 2, 24);
  c.dc.SetViewportOrigin(Point{kMax, kMin});
  EXPECT_EQ(c.dc.SetViewportOrigin(Point{0, 0}), (Point{kMaxDrawingCoordinate, -kMaxDrawingCoordinate}));
  // Fills and clips are cut to the range: this one covers the bitmap.
  EXPECT_TRUE(c.dc.FillRect(Rect{kMin, kMin, kMax, kMax}, *Brush::CreateSolid(kInk)));
  EXPECT_EQ(Picture(*c.dib, kInk), (Rows{"###", "###"}));
  c.dc.IntersectClipRect(Rect{kMin, kMin, kMax, kMax});
  EXPECT_EQ(c.dc.ClipBox(), (Rect{0, 0, 3, 2}));
  EXPECT_TRUE(c.dc.Rectangle(Rect{kMin, kMin, kMax, kMax}));
  // The rest refuse.
  c.dc.MoveTo(Point{kMin, 0});
  EXPECT_FALSE(c.dc.LineTo(Point{kMax, 0}));
  EXPECT_FALSE(c.dc.BitBlt(kMax, 0, 1, 1, c.dc, 0, 0));
  EXPECT_FALSE(c.dc.BitBlt(0, 0, kMax, kMax, c.dc, kMin, 0));
  EXPECT_FALSE(c.dc.SetPixel(kMax, kMax, 0));
  EXPECT_EQ(c.dc.GetPixel(kMin, 0), DeviceContext::kInvalidColor);
  Rect huge{kMin, kMin, kMax, kMax};
  EXPECT_EQ(c.dc.DrawText(u"x", huge, kDtCenter | kDtVCenter | kDtSingleLine), 0);
  EXPECT_FALSE(c.dc.TextOut(kMax, 0, u"x"));
  EXPECT_FALSE(c.dc.GetTextExtentPoint(WString(DeviceContext::kMaxTextLength + 1, u'x'), nullptr));
}

TEST(RectangleTest, OutlinesWithThePenAndFillsWithTheBrush) {
  Canvas c(6, 5, 24);
  c.dc.FillRect(Rect{0, 0, 6, 5}, *GetStockBrush(StockBrush::Black));
  c.dc.SelectPen(Pen::Create(kPsSolid, 1, kInk));
  c.dc.SelectBrush(Brush::CreateSolid(Rgb(255, 255, 255)));
  EXPECT_TRUE(c.dc.Rectangle(Rect{1, 0, 5, 4}));
  EXPECT_EQ(Picture(*c.dib, kInk), (Rows{".####.", ".#..#.", ".#..#.", ".####.", "......"}));
  EXPECT_EQ(Picture(*c.dib, Rgb(255, 255, 255)),
            (Rows{"......", "..##..", "..##..", "......", "......"}));
}

}  // namespace
}  // namespace platform

namespace platform {
namespace {

TEST(ShapeTest, FrameEllipseAndPolyline) {
  Canvas frame(5, 4, 24);
  frame.dc.FrameRect(Rect{0, 0, 5, 4}, *Brush::CreateSolid(kInk));
  EXPECT_EQ(Picture(*frame.dib, kInk), (Rows{"#####", "#...#", "#...#", "#####"}));

  Canvas ellipse(9, 7, 24);
  ellipse.dc.SelectPen(Pen::Create(kPsSolid, 1, kInk));
  ellipse.dc.SelectBrush(Brush::CreateSolid(Rgb(0, 0, 255)));
  EXPECT_TRUE(ellipse.dc.Ellipse(Rect{1, 1, 8, 6}));
  EXPECT_EQ(Picture(*ellipse.dib, kInk),
            (Rows{".........", "..#####..", ".#.....#.", ".#.....#.", ".#.....#.", "..#####..",
                  "........."}));
  EXPECT_EQ(Picture(*ellipse.dib, Rgb(0, 0, 255)),
            (Rows{".........", ".........", "..#####..", "..#####..", "..#####..", ".........",
                  "........."}));

  Canvas poly(5, 4, 24);
  poly.dc.SelectPen(Pen::Create(kPsSolid, 1, kInk));
  poly.dc.MoveTo(Point{4, 3});
  const Point points[] = {{0, 0}, {3, 0}, {3, 3}};
  EXPECT_TRUE(poly.dc.Polyline(points));
  EXPECT_EQ(poly.dc.CurrentPosition(), (Point{4, 3}));
  EXPECT_EQ(Picture(*poly.dib, kInk), (Rows{"####.", "...#.", "...#.", "....."}));
}

}  // namespace
}  // namespace platform
