#include "applet/skin/skin_dib.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/journal.h"
#include "tests/support/temp_device.h"

namespace applet {
namespace {

using Pixel = std::vector<uint8_t>;  // the bytes of one pixel in memory order

SkinDib Filled(int width, int height, int bitCount, const Pixel& pixel) {
  SkinDib dib;
  EXPECT_EQ(dib.Create(width, height, bitCount), SkinDib::kOk);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) std::copy(pixel.begin(), pixel.end(), dib.Row(y) + x * pixel.size());
  return dib;
}

Pixel At(const SkinDib& dib, int x, int y) {
  const size_t n = static_cast<size_t>(dib.BitCount() / 8);
  return Pixel(dib.Row(y) + x * n, dib.Row(y) + (x + 1) * n);
}

TEST(SkinDibTest, ComposeFollowsTheRuleOfEachPairOfDepths) {
  struct Case {
    const char* name;
    int sourceBits;
    Pixel source;
    int targetBits;
    Pixel target;
    Pixel result;
  };
  const Case cases[] = {
      {"8 onto 24: the colour-table entry", 8, {1}, 24, {9, 9, 9}, {30, 20, 10}},
      {"8 onto 32: the entry, alpha 128", 8, {1}, 32, {9, 9, 9, 9}, {30, 20, 10, 128}},
      {"24 onto 24: copied", 24, {1, 2, 3}, 24, {9, 9, 9}, {1, 2, 3}},
      {"24 onto 32: copied, alpha 128", 24, {1, 2, 3}, 32, {9, 9, 9, 9}, {1, 2, 3, 128}},
      {"32 with alpha 0 onto 24 leaves the target", 32, {200, 200, 200, 0}, 24, {9, 8, 7}, {9, 8, 7}},
      {"32 with alpha 255 onto 24 replaces it", 32, {200, 201, 202, 255}, 24, {9, 8, 7}, {200, 201, 202}},
      // ((255 - 100) * 10 + 100 * 200) / 255 = 84 (truncated)
      {"32 with alpha 100 onto 24 blends", 32, {200, 200, 200, 100}, 24, {10, 10, 10}, {84, 84, 84}},
      {"32 over a transparent 32 copies colour and alpha", 32, {11, 22, 33, 77}, 32, {99, 99, 99, 0}, {11, 22, 33, 77}},
      {"32 opaque over 32 replaces it", 32, {11, 22, 33, 255}, 32, {99, 99, 99, 50}, {11, 22, 33, 255}},
      // A = 128 * 128 / 255 = 64; B = 192; (200 * 128 * 255 + 100 * 128 * 127) / (192 * 255) = 166
      {"32 half over 32 half", 32, {200, 200, 200, 128}, 32, {100, 100, 100, 128}, {166, 166, 166, 192}},
      {"32 transparent over 32 transparent leaves the colour", 32, {1, 1, 1, 0}, 32, {5, 6, 7, 0}, {5, 6, 7, 0}},
      {"anything onto 8 bits leaves it", 24, {1, 2, 3}, 8, {4}, {4}},
  };
  for (const Case& c : cases) {
    SkinDib source = Filled(2, 2, c.sourceBits, c.source);
    if (c.sourceBits == 8) {
      const platform::RgbQuad table[] = {{0, 0, 0, 0}, {30, 20, 10, 0}};
      source.SetColourTable(table);
    }
    SkinDib target = Filled(3, 3, c.targetBits, c.target);
    EXPECT_EQ(target.Compose(1, 1, 2, 2, source, 0, 0), SkinDib::kOk) << c.name;
    EXPECT_EQ(At(target, 2, 2), c.result) << c.name;
    EXPECT_EQ(At(target, 0, 0), c.target) << c.name << ": outside the block";
  }
}

TEST(SkinDibTest, ComposeRefusesBlocksOutsideTheTargetAndCutsThemToTheSource) {
  SkinDib source = Filled(4, 4, 24, {1, 1, 1});
  SkinDib target = Filled(6, 6, 24, {0, 0, 0});
  SkinDib empty;
  SkinDib odd;
  struct Case {
    const char* name;
    int x, y, w, h, sx, sy;
    int result;
  };
  const Case refused[] = {
      {"right edge passed", 3, 0, 4, 1, 0, 0, SkinDib::kOutside},
      {"bottom edge passed", 0, 3, 1, 4, 0, 0, SkinDib::kOutside},
      {"left of the target", -1, 0, 2, 1, 0, 0, SkinDib::kOutside},
      {"above the target", 0, -1, 1, 2, 0, 0, SkinDib::kOutside},
  };
  for (const Case& c : refused)
    EXPECT_EQ(target.Compose(c.x, c.y, c.w, c.h, source, c.sx, c.sy), c.result) << c.name;
  EXPECT_EQ(target.Compose(0, 0, 1, 1, empty, 0, 0), SkinDib::kOutside);
  EXPECT_EQ(empty.Compose(0, 0, 1, 1, source, 0, 0), SkinDib::kOutside);

  // A block wider and taller than what the source holds from (2, 3) takes
  // only the source's 2 x 1 pixels there.
  EXPECT_EQ(target.Compose(0, 0, 6, 6, source, 2, 3), SkinDib::kOk);
  EXPECT_EQ(At(target, 1, 0), (Pixel{1, 1, 1}));
  EXPECT_EQ(At(target, 2, 0), (Pixel{0, 0, 0}));
  EXPECT_EQ(At(target, 0, 1), (Pixel{0, 0, 0}));
  // A block left of and above the source starts where the source does.
  SkinDib fresh = Filled(6, 6, 24, {0, 0, 0});
  EXPECT_EQ(fresh.Compose(0, 0, 3, 3, source, -2, -1), SkinDib::kOk);
  EXPECT_EQ(At(fresh, 1, 0), (Pixel{0, 0, 0}));
  EXPECT_EQ(At(fresh, 2, 1), (Pixel{1, 1, 1}));
  EXPECT_EQ(At(fresh, 2, 0), (Pixel{0, 0, 0}));
}

TEST(SkinDibTest, CopyBlockCopiesOnlyABlockWhollyInTheSource) {
  SkinDib source;
  ASSERT_EQ(source.Create(4, 3, 8), SkinDib::kOk);
  const platform::RgbQuad table[] = {{1, 2, 3, 0}, {4, 5, 6, 0}, {7, 8, 9, 0}};
  source.SetColourTable(table);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) source.Row(y)[x] = static_cast<uint8_t>(10 * y + x);

  SkinDib cut;
  ASSERT_EQ(cut.Create(2, 2, 8), SkinDib::kOk);
  EXPECT_TRUE(cut.CopyBlock(source, 2, 1));
  EXPECT_EQ(At(cut, 0, 0), Pixel{12});
  EXPECT_EQ(At(cut, 1, 1), Pixel{23});
  EXPECT_EQ(cut.ColourTable().size(), 3u);
  EXPECT_FALSE(cut.CopyBlock(source, 3, 0));   // one column past the right edge
  EXPECT_FALSE(cut.CopyBlock(source, 0, 2));   // one row past the bottom
  EXPECT_FALSE(cut.CopyBlock(source, -1, 0));
  SkinDib deeper;
  ASSERT_EQ(deeper.Create(1, 1, 24), SkinDib::kOk);
  EXPECT_FALSE(deeper.CopyBlock(source, 0, 0));  // another depth

  SkinDib piece;
  EXPECT_TRUE(piece.CreateCut(source, 1, 0, 3, 3));
  EXPECT_EQ(At(piece, 2, 2), Pixel{23});
  EXPECT_FALSE(piece.CreateCut(source, 1, 0, 4, 3));
  EXPECT_TRUE(piece.IsEmpty());
}

TEST(SkinDibTest, BlendWholeCutsTheSourceAtTheTargetsEdges) {
  SkinDib source = Filled(3, 3, 32, {50, 60, 70, 255});
  SkinDib target = Filled(4, 4, 24, {0, 0, 0});
  EXPECT_EQ(target.BlendWhole(source, 2, 2), SkinDib::kOk);
  EXPECT_EQ(At(target, 3, 3), (Pixel{50, 60, 70}));
  EXPECT_EQ(At(target, 1, 1), (Pixel{0, 0, 0}));
  EXPECT_EQ(target.BlendWhole(source, 4, 0), SkinDib::kOutside);
  EXPECT_EQ(target.BlendWhole(source, -1, 0), SkinDib::kOutside);
  SkinDib opaque = Filled(1, 1, 24, {1, 1, 1});
  EXPECT_EQ(target.BlendWhole(opaque, 0, 0), SkinDib::kBadDepth);
}

TEST(SkinDibTest, FillWhiteSetAlphaAndColourTables) {
  SkinDib dib = Filled(3, 2, 32, {1, 2, 3, 4});
  dib.FillWhite();
  EXPECT_EQ(At(dib, 2, 1), (Pixel{255, 255, 255, 255}));
  dib.SetAlpha(7);
  EXPECT_EQ(At(dib, 0, 0), (Pixel{255, 255, 255, 7}));
  SkinDib rgb = Filled(1, 1, 24, {1, 2, 3});
  rgb.SetAlpha(7);  // no alpha at 24 bits
  EXPECT_EQ(At(rgb, 0, 0), (Pixel{1, 2, 3}));

  SkinDib indexed;
  ASSERT_EQ(indexed.Create(1, 1, 8), SkinDib::kOk);
  std::vector<platform::RgbQuad> table(256, {1, 1, 1, 0});
  EXPECT_TRUE(indexed.SetColourTable(table));
  EXPECT_EQ(indexed.Header().clrUsed, 256u);
  table.push_back({});
  EXPECT_FALSE(indexed.SetColourTable(table));
  EXPECT_EQ(indexed.Header().clrUsed, 256u);
}

TEST(SkinDibTest, TileToSizeRepeatsThePictureFromTheTopLeft) {
  SkinDib dib;
  ASSERT_EQ(dib.Create(2, 2, 24), SkinDib::kOk);
  const Pixel colours[2][2] = {{{1, 1, 1}, {2, 2, 2}}, {{3, 3, 3}, {4, 4, 4}}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x) std::copy(colours[y][x].begin(), colours[y][x].end(), dib.Row(y) + 3 * x);
  ASSERT_EQ(dib.TileToSize(5, 3), SkinDib::kOk);
  EXPECT_EQ(dib.Width(), 5);
  EXPECT_EQ(dib.Height(), 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(At(dib, x, y), colours[y % 2][x % 2]) << x << "," << y;
}

TEST(SkinDibTest, ConvertGoesOnlyToAGreaterDepth) {
  SkinDib dib;
  ASSERT_EQ(dib.Create(1, 1, 8), SkinDib::kOk);
  const platform::RgbQuad table[] = {{10, 20, 30, 0}};
  dib.SetColourTable(table);
  ASSERT_EQ(dib.Convert(24), SkinDib::kOk);
  EXPECT_EQ(At(dib, 0, 0), (Pixel{10, 20, 30}));
  ASSERT_EQ(dib.Convert(32), SkinDib::kOk);
  EXPECT_EQ(At(dib, 0, 0), (Pixel{10, 20, 30, 0}));
  EXPECT_EQ(dib.Convert(24), SkinDib::kFailed);
  EXPECT_EQ(dib.BitCount(), 32);
}

TEST(SkinDibTest, APictureThatCannotBeMadeTellsTheUser) {
  test_support::TempDevice device;
  SkinDib dib;
  EXPECT_EQ(dib.Create(70000, 10, 24), SkinDib::kFailed);
  EXPECT_TRUE(dib.IsEmpty());
  const auto lines = device.Device().Journal().Lines();
  ASSERT_FALSE(lines.empty());
  EXPECT_NE(lines.back().find("Erreur \xC3\xA0 la cr\xC3\xA9" "ation du DIB  cx=70000,cy=10,bitCount=24"),
            std::string::npos)
      << lines.back();
}

}  // namespace
}  // namespace applet
