#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "applet/skin/skin_bitmap_font.h"
#include "applet/skin/skin_description.h"
#include "applet/skin/skin_gdi_font.h"
#include "tests/applet/skin/picture_fixtures.h"
#include "tests/support/temp_device.h"

namespace applet {
namespace {

using platform::WString;

SkinDib Box32(int width, int height) {
  SkinDib dib;
  EXPECT_EQ(dib.Create(width, height, 32), SkinDib::kOk);
  return dib;
}

int Alpha(const SkinDib& dib, int x, int y) { return dib.Row(y)[4 * x + 3]; }

// Rows of alpha values, top first.
std::vector<std::vector<int>> Alphas(const SkinDib& dib, int rows) {
  std::vector<std::vector<int>> out;
  for (int y = 0; y < rows; ++y) {
    out.emplace_back();
    for (int x = 0; x < dib.Width(); ++x) out.back().push_back(Alpha(dib, x, y));
  }
  return out;
}

class SkinFontTest : public ::testing::Test {
 protected:
  SkinDescription& Load(std::string_view text) {
    device_.WriteFile("Skins/fonts.inf", text);
    EXPECT_TRUE(description_.Open(u"\\Skins\\", u"fonts.inf"));
    return description_;
  }

  test_support::TempDevice device_;
  SkinDescription description_;
};

TEST_F(SkinFontTest, GdiFontsTakeTheirSizeInTenthsOfAPoint) {
  Load(
      "[Plain]\ntype=Font\n"
      "[Sized]\ntype=FontGDI\nfont size=12\n"
      "[Tenths]\ntype=Font\nfont size=30\npointSize=85\n"
      "[Styled]\ntype=Font\nFaceName=DejaVu Sans\nBold=1\nItalic=2\nUnderline=1\n");
  struct Case {
    const char16_t* section;
    int32_t height;
    int32_t weight;
    uint8_t italic, underline;
    const char16_t* face;
  };
  const Case cases[] = {
      {u"Plain", -12, 0, 0, 0, u"Tahoma"},          // 9 points: 96 * 90 / -720
      {u"Sized", -16, 0, 0, 0, u"Tahoma"},          // 12 points
      {u"Tenths", -11, 0, 0, 0, u"Tahoma"},         // 8.5 points, truncated
      {u"Styled", -12, 700, 1, 1, u"DejaVu Sans"},
  };
  for (const Case& c : cases) {
    auto font = SkinGdiFont::FromSection(description_, c.section);
    const platform::LogFont& lf = font->Logical();
    EXPECT_EQ(font->Name(), c.section);
    EXPECT_EQ(lf.height, c.height) << platform::ToUtf8(c.section);
    EXPECT_EQ(lf.weight, c.weight) << platform::ToUtf8(c.section);
    EXPECT_EQ(lf.italic, c.italic) << platform::ToUtf8(c.section);
    EXPECT_EQ(lf.underline, c.underline) << platform::ToUtf8(c.section);
    EXPECT_EQ(lf.charSet, platform::kDefaultCharset);
    EXPECT_EQ(lf.faceName, c.face);
  }
  auto fallback = SkinGdiFont::DefaultFont();
  EXPECT_EQ(fallback->Logical().faceName, u"tahoma");
  EXPECT_EQ(fallback->Logical().height, -11);
  EXPECT_EQ(fallback->Logical().weight, 0);
}

TEST_F(SkinFontTest, TextIsTheColourEverywhereWithTheInkAsAlpha) {
  auto font = SkinGdiFont::DefaultFont();
  SkinDib box = Box32(60, 20);
  const SkinTextExtent extent = font->DrawText(u"Hello", -1, {0, 0, 60, 20}, 0, SkinRgb(10, 20, 30), &box);
  EXPECT_EQ(extent.width, font->Measure(u"Hello").width);
  EXPECT_EQ(extent.height, font->Measure(u"Hello").height);
  int ink = 0, paper = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 60; ++x) {
      const uint8_t* p = box.Row(y) + 4 * x;
      ASSERT_EQ(p[0], 30);
      ASSERT_EQ(p[1], 20);
      ASSERT_EQ(p[2], 10);
      ink += p[3] > 200;
      paper += p[3] == 0;
    }
  EXPECT_GT(ink, 10);
  EXPECT_GT(paper, 600);
  EXPECT_EQ(Alpha(box, 59, 19), 0);
  // A length cuts the text.
  EXPECT_EQ(font->DrawText(u"Hello", 2, {0, 0, 60, 20}, 0, 0, nullptr).width, font->Measure(u"He").width);
}

TEST_F(SkinFontTest, WithoutWordBreaksALineBreaksWhereItOverflows) {
  auto font = SkinGdiFont::DefaultFont();
  const int width = font->Measure(u"WWWW WW").width;
  const int lineHeight = font->Measure(u"W").height;
  const platform::Rect box{0, 0, width, 3 * lineHeight};

  SkinDib broken = Box32(width, box.bottom);
  EXPECT_EQ(font->DrawText(u"WWWW WWWW", -1, box, 0, 0, &broken).height, 2 * lineHeight);
  SkinDib firstLine = Box32(width, box.bottom);
  font->DrawText(u"WWWW WW", -1, box, 0, 0, &firstLine);
  EXPECT_EQ(Alphas(broken, lineHeight), Alphas(firstLine, lineHeight));

  // With word breaks the platform breaks at the space instead.
  SkinDib words = Box32(width, box.bottom);
  font->DrawText(u"WWWW WWWW", -1, box, text_format::kWordBreak, 0, &words);
  SkinDib firstWord = Box32(width, box.bottom);
  font->DrawText(u"WWWW", -1, box, 0, 0, &firstWord);
  EXPECT_EQ(Alphas(words, lineHeight), Alphas(firstWord, lineHeight));

  // Measuring draws nothing.
  SkinDib measured = Box32(width, box.bottom);
  measured.SetAlpha(0);
  EXPECT_EQ(font->DrawText(u"WWWW WWWW", -1, box, text_format::kCalcRect, 0, &measured).height, 2 * lineHeight);
  for (const auto& row : Alphas(measured, lineHeight))
    for (int a : row) ASSERT_EQ(a, 0);

  EXPECT_TRUE(font->Fits(u"WWWW WWWW", box, 0));
  EXPECT_FALSE(font->Fits(u"WWWW WWWW", {0, 0, width, lineHeight}, 0));
}

class SkinBitmapFontTest : public SkinFontTest {
 protected:
  // An 8-bit glyph picture: rows of glyph pixels above a marker row with 255
  // at each column in markers; glyph pixels are ink (0) in the given columns
  // of every row.
  void WriteGlyphs(const std::string& name, int width, int glyphRows, const std::vector<int>& markers,
                   const std::vector<int>& inkColumns) {
    skin_test::BmpSpec spec;
    spec.width = width;
    spec.height = -(glyphRows + 1);  // top-down
    spec.bitCount = 8;
    for (int i = 0; i < 256; ++i) spec.table.push_back({static_cast<uint8_t>(i), static_cast<uint8_t>(i), static_cast<uint8_t>(i)});
    spec.coloursUsed = 256;
    const size_t stride = (static_cast<size_t>(width) + 3) / 4 * 4;
    for (int y = 0; y < glyphRows; ++y) {
      std::vector<uint8_t> row(stride, 255);
      for (int x : inkColumns) row[static_cast<size_t>(x)] = static_cast<uint8_t>(y * 10);
      spec.rows.push_back(row);
    }
    std::vector<uint8_t> markerRow(stride, 0);
    for (int x : markers) markerRow[static_cast<size_t>(x)] = 255;
    spec.rows.push_back(markerRow);
    device_.WriteFile("Skins/" + name, skin_test::MakeBmp(spec));
  }
};

TEST_F(SkinBitmapFontTest, MarkersGiveEachCodeItsColumns) {
  // ' ' is columns 0-2, '!' 3-4, '"' 5 to the right edge.
  WriteGlyphs("glyphs.bmp", 10, 3, {0, 3, 5}, {3, 4});
  Load("[Digits]\ntype=FontBitmap\nFile=glyphs.bmp\n");
  auto font = SkinBitmapFont::FromSection(description_, u"Digits");
  ASSERT_TRUE(font->HasGlyphTable());
  EXPECT_EQ(font->GlyphColumns(' '), std::make_pair(0, 3));
  EXPECT_EQ(font->GlyphColumns('!'), std::make_pair(3, 5));
  EXPECT_EQ(font->GlyphColumns('"'), std::make_pair(5, 10));
  EXPECT_EQ(font->GlyphColumns('A'), std::make_pair(10, 10));  // beyond the last marker
  EXPECT_EQ(font->GlyphColumns(31), std::make_pair(0, 0));
  EXPECT_EQ(font->GlyphRows(), 3);
  EXPECT_EQ(font->Measure(u"! \"A"), (SkinTextExtent{10, 3}));
  EXPECT_FALSE(font->Fits(u"!", {0, 0, 100, 100}, 0));

  // Two rows fit a box 3 high; they are the glyph's bottom rows, at the
  // box's bottom. Drawing stops before a glyph that would pass the edge.
  SkinDib box = Box32(4, 3);
  box.SetAlpha(77);
  const SkinTextExtent drawn = font->DrawText(u"!!!", -1, {0, 0, 4, 3}, 0, SkinRgb(1, 2, 3), &box);
  EXPECT_EQ(drawn, (SkinTextExtent{4, 2}));
  EXPECT_EQ(Alphas(box, 3), (std::vector<std::vector<int>>{{77, 77, 77, 77}, {245, 245, 245, 245}, {235, 235, 235, 235}}));
  EXPECT_EQ(box.Row(2)[0], 3);  // blue
  EXPECT_EQ(box.Row(2)[2], 1);  // red
}

TEST_F(SkinBitmapFontTest, CharactersAreTakenInTheOemCodePage) {
  std::vector<int> markers;
  for (int i = 0; i < 225; ++i) markers.push_back(i);
  WriteGlyphs("full.bmp", 230, 2, markers, {});
  Load("[Full]\ntype=FontBitmap\nFile=full.bmp\n");
  auto font = SkinBitmapFont::FromSection(description_, u"Full");
  ASSERT_TRUE(font->HasGlyphTable());
  // e acute is 130 in the OEM code page of an English device.
  EXPECT_EQ(font->Measure(u"\u00e9").width, 1);
  EXPECT_EQ(font->GlyphColumns(130), std::make_pair(98, 99));
  EXPECT_EQ(font->GlyphColumns(255), std::make_pair(223, 224));
}

TEST_F(SkinBitmapFontTest, TooManyMarkersOrAnotherDepthGiveNoGlyphTable) {
  std::vector<int> markers;
  for (int i = 0; i < 226; ++i) markers.push_back(i);
  WriteGlyphs("crowded.bmp", 230, 2, markers, {});
  device_.WriteFile("Skins/deep.bmp", skin_test::MakeBmp({4, 2, 24, 0, {}, 0, 0, {std::vector<uint8_t>(12, 255), std::vector<uint8_t>(12, 255)}}));
  Load(
      "[Crowded]\ntype=FontBitmap\nFile=crowded.bmp\n"
      "[Deep]\ntype=FontBitmap\nFile=deep.bmp\n"
      "[Missing]\ntype=FontBitmap\nFile=missing.bmp\n");
  for (const char16_t* section : {u"Crowded", u"Deep", u"Missing"}) {
    auto font = SkinBitmapFont::FromSection(description_, section);
    EXPECT_FALSE(font->HasGlyphTable()) << platform::ToUtf8(section);
    EXPECT_EQ(font->Measure(u"abc"), SkinTextExtent{}) << platform::ToUtf8(section);
    SkinDib box = Box32(10, 10);
    box.SetAlpha(5);
    font->DrawText(u"abc", -1, {0, 0, 10, 10}, 0, 0, &box);
    EXPECT_EQ(Alpha(box, 0, 9), 5);
  }
}

}  // namespace
}  // namespace applet
