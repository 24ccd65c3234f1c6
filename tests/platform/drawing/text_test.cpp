// Fonts and text through a device context: faces found, metrics, extents
// that agree with what is drawn, the DrawText flags, anti-aliased ink on
// every depth, and drawing that repeats exactly.
#include <gtest/gtest.h>

#include <set>
#include <thread>

#include "tests/platform/drawing/canvas.h"

namespace platform {
namespace {

using drawing_test::Canvas;
using drawing_test::InkBox;

constexpr ColorRef kWhite = Rgb(255, 255, 255);
constexpr ColorRef kBlack = Rgb(0, 0, 0);

LogFont Face(const char16_t* name, int height = -11, int weight = kFwNormal) {
  LogFont f;
  f.height = height;
  f.weight = weight;
  f.faceName = name;
  return f;
}

// A white 24-bit canvas with the font selected, black text, transparent.
Canvas TextCanvas(int width, int height, const LogFont& font = Face(u"Tahoma"), int bits = 24) {
  Canvas c(width, height, bits);
  if (bits == 8) {
    const auto grey = GreyColorTable();
    c.dib->SetColorTable(0, grey);
  }
  c.dc.FillRect(Rect{0, 0, width, height}, *GetStockBrush(StockBrush::White));
  c.dc.SelectFont(Font::Create(font));
  c.dc.SetBkMode(kTransparent);
  return c;
}

TEST(FontFaceTest, FacesResolveAmongThePackagedFonts) {
  struct Case {
    const char16_t* name;
    int weight;
    const char* file;
    const char* family;
  } cases[] = {
      {u"Tahoma", kFwNormal, "/usr/share/wine/fonts/tahoma.ttf", "Tahoma"},
      {u"tahoma", kFwNormal, "/usr/share/wine/fonts/tahoma.ttf", "Tahoma"},
      {u"Tahoma", kFwBold, "/usr/share/wine/fonts/tahomabd.ttf", "Tahoma"},
      {u"No Such Face", kFwNormal, "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
       "DejaVu Sans"},
      {u"", kFwNormal, "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", "DejaVu Sans"},
      {u"DejaVu Sans", kFwBold, "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
       "DejaVu Sans"},
  };
  for (const auto& c : cases) {
    const auto font = Font::Create(Face(c.name, -11, c.weight));
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->FilePath(), c.file) << ToUtf8(c.name);
    EXPECT_EQ(font->FamilyName(), c.family) << ToUtf8(c.name);
  }
}

TEST(FontFaceTest, RecordIsKeptAndTheFaceNameCut) {
  LogFont record = Face(u"A face name that is far longer than thirty-one characters");
  record.italic = 1;
  record.charSet = kDefaultCharset;
  const auto font = Font::Create(record);
  EXPECT_EQ(font->Logical().faceName.size(), kMaxFaceNameLength);
  EXPECT_EQ(font->Logical().italic, 1);
  EXPECT_EQ(font->Logical().charSet, kDefaultCharset);
}

TEST(FontFaceTest, AnEqualRecordGivesTheLiveFont) {
  const auto first = Font::Create(Face(u"Tahoma", -13));
  EXPECT_EQ(Font::Create(Face(u"Tahoma", -13)), first);
  EXPECT_NE(Font::Create(Face(u"Tahoma", -13, kFwBold)), first);
  EXPECT_NE(Font::Create(Face(u"Tahoma", -14)), first);
}

TEST(FontMetricsTest, TahomaAtEightAndAHalfPointsHasTheHandheldsMetrics) {
  // 8.5 points at 96 pixels per inch: (96 * 85) / -720 = -11.
  const auto font = Font::Create(Face(u"Tahoma", (96 * 85) / -720));
  const TextMetrics& m = font->Metrics();
  EXPECT_EQ(font->PixelSize(), 11);
  EXPECT_EQ(m.ascent, 11);
  EXPECT_EQ(m.descent, 2);
  EXPECT_EQ(m.height, 13);
  EXPECT_EQ(m.internalLeading, 2);
  EXPECT_EQ(m.aveCharWidth, 5);
  EXPECT_EQ(m.weight, kFwNormal);
}

TEST(FontMetricsTest, HeightsInEveryForm) {
  struct Case {
    int height;
    int pixelSize;
  } cases[] = {{-20, 20}, {0, 12}, {-100000, 1024}};
  for (const auto& c : cases) {
    EXPECT_EQ(Font::Create(Face(u"Tahoma", c.height))->PixelSize(), c.pixelSize) << c.height;
  }
  // A positive height is the cell: ascent plus descent.
  for (int cell : {13, 16, 30}) {
    const auto font = Font::Create(Face(u"Tahoma", cell));
    EXPECT_NEAR(font->Metrics().height, cell, 1) << cell;
  }
}

TEST(TextExtentTest, ExtentsAddUpAndCountWhatFits) {
  Canvas c = TextCanvas(10, 10);
  const WString text = u"Configuration";
  Size size;
  ASSERT_TRUE(c.dc.GetTextExtentPoint(text, &size));
  TextMetrics m;
  ASSERT_TRUE(c.dc.GetTextMetrics(&m));
  EXPECT_EQ(size.cy, m.height);

  int fit = -1;
  std::vector<int> extents;
  Size whole;
  ASSERT_TRUE(c.dc.GetTextExtentExPoint(text, 1000, &fit, &extents, &whole));
  EXPECT_EQ(fit, static_cast<int>(text.size()));
  ASSERT_EQ(extents.size(), text.size());
  EXPECT_EQ(extents.back(), size.cx);
  EXPECT_EQ(whole, size);
  for (size_t i = 1; i < extents.size(); ++i) EXPECT_GT(extents[i], extents[i - 1]);

  for (size_t k : {size_t{0}, size_t{4}, text.size() - 1}) {
    c.dc.GetTextExtentExPoint(text, extents[k], &fit, nullptr, nullptr);
    EXPECT_EQ(fit, static_cast<int>(k + 1));
    c.dc.GetTextExtentExPoint(text, extents[k] - 1, &fit, nullptr, nullptr);
    EXPECT_EQ(fit, static_cast<int>(k));
  }
  Size empty;
  c.dc.GetTextExtentPoint(u"", &empty);
  EXPECT_EQ(empty, (Size{0, m.height}));
}

TEST(DrawTextTest, InkStaysWithinTheMeasuredCell) {
  for (const char16_t* face : {u"Tahoma", u"DejaVu Sans"}) {
    Canvas c = TextCanvas(200, 40, Face(face, -13));
    const WString text = u"Quick Wafers & Jam";
    Size size;
    c.dc.GetTextExtentPoint(text, &size);
    Rect box{10, 5, 190, 35};
    const int height = c.dc.DrawText(text, box, kDtNoPrefix);
    EXPECT_EQ(height, size.cy);
    const Rect ink = InkBox(*c.dib, kWhite);
    ASSERT_FALSE(ink.IsEmpty());
    EXPECT_GE(ink.left, 10);
    EXPECT_LE(ink.right, 10 + size.cx + 1);
    EXPECT_GT(ink.right, 10 + size.cx - 4);
    EXPECT_GE(ink.top, 5);
    EXPECT_LE(ink.bottom, 5 + size.cy);
  }
}

TEST(DrawTextTest, CalcRectMeasuresWithoutDrawing) {
  Canvas c = TextCanvas(100, 100);
  TextMetrics m;
  c.dc.GetTextMetrics(&m);
  Size size;
  c.dc.GetTextExtentPoint(u"Settings", &size);

  Rect single{5, 5, 95, 95};
  EXPECT_EQ(c.dc.DrawText(u"Settings", single, kDtCalcRect | kDtSingleLine | kDtCenter), m.height);
  EXPECT_EQ(single, (Rect{5, 5, 5 + size.cx, 5 + m.height}));

  Rect wrapped{0, 0, 60, 0};
  const int height =
      c.dc.DrawText(u"Internet connection information", wrapped, kDtCalcRect | kDtWordBreak);
  EXPECT_GT(height, m.height);
  EXPECT_EQ(height % m.height, 0);
  EXPECT_EQ(wrapped.bottom, height);
  EXPECT_LE(wrapped.right, 60 + 40);  // the widest line, a whole word at most past the box
  EXPECT_TRUE(InkBox(*c.dib, kWhite).IsEmpty());

  Rect none{3, 4, 50, 50};
  EXPECT_EQ(c.dc.DrawText(u"", none, kDtCalcRect), 0);
  EXPECT_EQ(none, (Rect{3, 4, 3, 4}));
}

TEST(DrawTextTest, AlignmentFlagsMoveTheInkByTheRightAmounts) {
  const Rect box{0, 0, 120, 40};
  const WString text = u"MMS";
  Canvas probe = TextCanvas(120, 40);
  Size size;
  probe.dc.GetTextExtentPoint(text, &size);
  TextMetrics m;
  probe.dc.GetTextMetrics(&m);

  struct Case {
    uint32_t format;
    int dx, dy, result;
  } cases[] = {
      {kDtLeft | kDtSingleLine, 0, 0, m.height},
      {kDtCenter | kDtSingleLine, (120 - size.cx) / 2, 0, m.height},
      {kDtRight | kDtSingleLine, 120 - size.cx, 0, m.height},
      {kDtVCenter | kDtSingleLine, 0, (40 - m.height) / 2, (40 - m.height) / 2 + m.height},
      {kDtBottom | kDtSingleLine, 0, 40 - m.height, 40},
      // Vertical placement needs a single line.
      {kDtBottom, 0, 0, m.height},
  };
  Canvas reference = TextCanvas(120, 40);
  Rect r = box;
  reference.dc.DrawText(text, r, kDtLeft);
  const Rect leftInk = InkBox(*reference.dib, kWhite);
  for (const auto& c : cases) {
    Canvas canvas = TextCanvas(120, 40);
    Rect rect = box;
    EXPECT_EQ(canvas.dc.DrawText(text, rect, c.format), c.result) << c.format;
    EXPECT_EQ(InkBox(*canvas.dib, kWhite), OffsetRect(leftInk, c.dx, c.dy)) << c.format;
  }
}

TEST(DrawTextTest, WordBreakPutsLaterWordsOnLowerLines) {
  Canvas c = TextCanvas(70, 60);
  TextMetrics m;
  c.dc.GetTextMetrics(&m);
  Rect box{0, 0, 70, 60};
  EXPECT_EQ(c.dc.DrawText(u"SMS text message", box, kDtWordBreak), 2 * m.height);
  const Rect ink = InkBox(*c.dib, kWhite);
  EXPECT_GT(ink.bottom, m.height);
  EXPECT_LE(ink.bottom, 2 * m.height);
  EXPECT_LE(ink.right, 70);
}

TEST(DrawTextTest, TextIsClippedToItsRectangleUnlessNoClip) {
  Canvas clipped = TextCanvas(100, 20);
  Rect small{0, 0, 12, 20};
  clipped.dc.DrawText(u"WAP gateway", small, kDtSingleLine);
  EXPECT_LE(InkBox(*clipped.dib, kWhite).right, 12);

  Canvas free = TextCanvas(100, 20);
  Rect same{0, 0, 12, 20};
  free.dc.DrawText(u"WAP gateway", same, kDtSingleLine | kDtNoClip);
  EXPECT_GT(InkBox(*free.dib, kWhite).right, 40);
}

TEST(DrawTextTest, PrefixUnderlinesOneCharacter) {
  Canvas prefixed = TextCanvas(60, 20);
  Rect box{0, 0, 60, 20};
  prefixed.dc.DrawText(u"&Wap", box, kDtSingleLine);
  Canvas plain = TextCanvas(60, 20);
  Rect box2{0, 0, 60, 20};
  plain.dc.DrawText(u"Wap", box2, kDtSingleLine);

  // The difference is the underline below the W, and only there.
  const auto font = prefixed.dc.CurrentFont();
  const int row = font->Metrics().ascent + font->UnderlineOffset();
  const int wWidth = font->Advance(U'W');
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 60; ++x) {
      const bool underline = y >= row && y < row + font->LineThickness() && x < wWidth;
      if (underline) {
        EXPECT_EQ(prefixed.dib->PixelColor(x, y), kBlack) << x << "," << y;
      } else {
        EXPECT_EQ(prefixed.dib->PixelColor(x, y), plain.dib->PixelColor(x, y)) << x << "," << y;
      }
    }
  }

  Canvas literal = TextCanvas(60, 20);
  Rect box3{0, 0, 60, 20};
  literal.dc.DrawText(u"&Wap", box3, kDtSingleLine | kDtNoPrefix);
  Size withAmpersand, without;
  literal.dc.GetTextExtentPoint(u"&Wap", &withAmpersand);
  literal.dc.GetTextExtentPoint(u"Wap", &without);
  Rect measured{0, 0, 60, 20};
  literal.dc.DrawText(u"&Wap", measured, kDtSingleLine | kDtNoPrefix | kDtCalcRect);
  EXPECT_EQ(measured.right, withAmpersand.cx);
  Rect measuredPrefixed{0, 0, 60, 20};
  literal.dc.DrawText(u"&Wap", measuredPrefixed, kDtSingleLine | kDtCalcRect);
  EXPECT_EQ(measuredPrefixed.right, without.cx);
}

TEST(DrawTextTest, InkIsBlendedByCoverageOnEveryDepth) {
  // Black on a white grey-table mask gives 255 minus the coverage, the same
  // greys as on 24 and 32 bits; the fourth byte of 32 bits stays.
  Canvas rgb = TextCanvas(80, 20, Face(u"Tahoma"), 24);
  Canvas mask = TextCanvas(80, 20, Face(u"Tahoma"), 8);
  Canvas argb = TextCanvas(80, 20, Face(u"Tahoma"), 32);
  for (size_t i = 3; i < argb.dib->ImageSize(); i += 4) argb.dib->Bits()[i] = 33;
  for (Canvas* c : {&rgb, &mask, &argb}) {
    Rect box{2, 2, 80, 20};
    c->dc.DrawText(u"Ag, 0.5 mm", box, 0);
  }
  std::set<int> greys;
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 80; ++x) {
      const ColorRef c = rgb.dib->PixelColor(x, y);
      ASSERT_EQ(RedOf(c), BlueOf(c));
      greys.insert(RedOf(c));
      EXPECT_EQ(mask.dib->Row(y)[x], RedOf(c));
      EXPECT_EQ(argb.dib->PixelColor(x, y), c);
      EXPECT_EQ(argb.dib->Row(y)[x * 4 + 3], 33);
    }
  }
  EXPECT_TRUE(greys.count(0));
  EXPECT_TRUE(greys.count(255));
  EXPECT_GT(greys.size(), 10u) << "anti-aliased edges";
}

TEST(DrawTextTest, TextColourAndOpaqueBackground) {
  Canvas c = TextCanvas(60, 20);
  c.dc.SetTextColor(Rgb(0, 0, 156));
  c.dc.SetBkColor(Rgb(255, 255, 0));
  c.dc.SetBkMode(kOpaque);
  Size size;
  c.dc.GetTextExtentPoint(u"Title", &size);
  ASSERT_TRUE(c.dc.TextOut(5, 3, u"Title"));
  EXPECT_EQ(InkBox(*c.dib, kWhite), (Rect{5, 3, 5 + size.cx, 3 + size.cy}));
  int darkest = 255;
  for (int y = 3; y < 3 + size.cy; ++y) {
    for (int x = 5; x < 5 + size.cx; ++x) {
      const ColorRef p = c.dib->PixelColor(x, y);
      // Every pixel lies between the background and the text colour.
      EXPECT_EQ(RedOf(p), GreenOf(p));
      EXPECT_LE(BlueOf(p), 156);
      darkest = std::min<int>(darkest, RedOf(p));
    }
  }
  EXPECT_LT(darkest, 64);
}

TEST(DrawTextTest, StylesChangeTheInk) {
  const auto draw = [](const LogFont& f) {
    Canvas c = TextCanvas(80, 20, f);
    Rect box{0, 0, 80, 20};
    c.dc.DrawText(u"Hello", box, 0);
    return c;
  };
  const Canvas regular = draw(Face(u"Tahoma"));
  LogFont italic = Face(u"Tahoma");
  italic.italic = 1;
  LogFont underline = Face(u"Tahoma");
  underline.underline = 1;
  const Canvas slanted = draw(italic);
  const Canvas underlined = draw(underline);
  const Canvas bold = draw(Face(u"Tahoma", -11, kFwBold));

  const auto inkSum = [](const Canvas& c) {
    long sum = 0;
    for (int y = 0; y < c.dib->Height(); ++y) {
      for (int x = 0; x < c.dib->Width(); ++x) sum += 255 - RedOf(c.dib->PixelColor(x, y));
    }
    return sum;
  };
  // The free Tahoma's bold face has regular stems; they are thickened.
  EXPECT_GT(inkSum(bold), inkSum(regular) * 13 / 10);
  const Rect plainInk = InkBox(*regular.dib, kWhite);
  EXPECT_NE(InkBox(*slanted.dib, kWhite), plainInk);
  EXPECT_GT(InkBox(*underlined.dib, kWhite).bottom, plainInk.bottom);
  EXPECT_GT(InkBox(*bold.dib, kWhite).right, plainInk.right);
}

TEST(DrawTextTest, CharactersTheFaceLacksComeFromTheFallback) {
  Canvas c = TextCanvas(40, 20);
  const auto font = c.dc.CurrentFont();
  const auto missing = font->Glyph(U'\u2603');  // not in the free Tahoma
  EXPECT_GT(missing->advance, 0);
  EXPECT_GT(missing->width * missing->rows, 0);
}

TEST(DrawTextTest, ThreadsShareAFont) {
  // The busy indicator draws on a thread of its own with the fonts the
  // dialogs use; each thread renders characters the other has not yet.
  const auto draw = [](const char16_t* text) {
    Canvas c = TextCanvas(200, 20);
    Rect box{0, 0, 200, 20};
    c.dc.DrawText(text, box, 0);
    return std::vector<uint8_t>(c.dib->Bits(), c.dib->Bits() + c.dib->ImageSize());
  };
  const char16_t* texts[] = {u"abcdefghijklm 0123456789", u"NOPQRSTUVWXYZ !?%&()[]"};
  std::vector<uint8_t> results[2];
  {
    std::jthread a([&] { results[0] = draw(texts[0]); });
    std::jthread b([&] { results[1] = draw(texts[1]); });
  }
  EXPECT_EQ(results[0], draw(texts[0]));
  EXPECT_EQ(results[1], draw(texts[1]));
}

TEST(DrawTextTest, DrawingRepeatsExactly) {
  const auto draw = [] {
    Canvas c = TextCanvas(120, 30);
    Rect box{0, 0, 120, 30};
    c.dc.DrawText(u"Réseau &GPRS — 100%", box, kDtCenter | kDtVCenter | kDtSingleLine);
    return std::vector<uint8_t>(c.dib->Bits(), c.dib->Bits() + c.dib->ImageSize());
  };
  EXPECT_EQ(draw(), draw());
}

}  // namespace
}  // namespace platform
