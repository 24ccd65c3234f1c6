// DIB sections: which descriptions are accepted, the row layout, the colour
// table and the fourth byte of 32-bit pixels.
#include "platform/dib_section.h"

#include <gtest/gtest.h>

#include <cstring>

namespace platform {
namespace {

struct HeaderCase {
  const char* name;
  void (*change)(BitmapInfo&);
  ErrorCode expected;
};

class DibHeaderTest : public testing::TestWithParam<HeaderCase> {};

TEST_P(DibHeaderTest, AcceptsOrRefusesWithTheExactCode) {
  BitmapInfo info = MakeBitmapInfo(4, 3, 24);
  GetParam().change(info);
  ErrorCode error = -1;
  const auto dib = DibSection::Create(info, &error);
  EXPECT_EQ(error, GetParam().expected);
  EXPECT_EQ(dib != nullptr, GetParam().expected == kErrorSuccess);
}

INSTANTIATE_TEST_SUITE_P(
    Headers, DibHeaderTest,
    testing::Values(
        HeaderCase{"plain24", [](BitmapInfo&) {}, kErrorSuccess},
        HeaderCase{"topDown", [](BitmapInfo& i) { i.header.height = -3; }, kErrorSuccess},
        HeaderCase{"eightBits", [](BitmapInfo& i) { i.header.bitCount = 8; }, kErrorSuccess},
        HeaderCase{"bitFields32",
                   [](BitmapInfo& i) {
                     i.header.bitCount = 32;
                     i.header.compression = kBiBitfields;
                   },
                   kErrorSuccess},
        HeaderCase{"rgbOrderMasks",
                   [](BitmapInfo& i) {
                     i.header.bitCount = 32;
                     i.header.compression = kBiBitfields;
                     i.masks = ColorMasks{0x000000FF, 0x0000FF00, 0x00FF0000};
                   },
                   kErrorSuccess},
        HeaderCase{"headerSize", [](BitmapInfo& i) { i.header.size = 12; }, kErrorInvalidParameter},
        HeaderCase{"zeroWidth", [](BitmapInfo& i) { i.header.width = 0; }, kErrorInvalidParameter},
        HeaderCase{"negativeWidth", [](BitmapInfo& i) { i.header.width = -4; },
                   kErrorInvalidParameter},
        HeaderCase{"zeroHeight", [](BitmapInfo& i) { i.header.height = 0; },
                   kErrorInvalidParameter},
        HeaderCase{"twoPlanes", [](BitmapInfo& i) { i.header.planes = 2; }, kErrorInvalidParameter},
        HeaderCase{"sixteenBits", [](BitmapInfo& i) { i.header.bitCount = 16; },
                   kErrorInvalidParameter},
        HeaderCase{"bitFields24", [](BitmapInfo& i) { i.header.compression = kBiBitfields; },
                   kErrorInvalidParameter},
        HeaderCase{"runLength", [](BitmapInfo& i) { i.header.compression = 1; },
                   kErrorInvalidParameter},
        HeaderCase{"sharedMaskByte",
                   [](BitmapInfo& i) {
                     i.header.bitCount = 32;
                     i.header.compression = kBiBitfields;
                     i.masks.green = i.masks.red;
                   },
                   kErrorInvalidParameter},
        HeaderCase{"fiveBitMask",
                   [](BitmapInfo& i) {
                     i.header.bitCount = 32;
                     i.header.compression = kBiBitfields;
                     i.masks.red = 0x7C00;
                   },
                   kErrorInvalidParameter},
        HeaderCase{"257Colours",
                   [](BitmapInfo& i) {
                     i.header.bitCount = 8;
                     i.header.clrUsed = 257;
                   },
                   kErrorInvalidParameter},
        HeaderCase{"sideTooLong", [](BitmapInfo& i) { i.header.width = kMaxDibSide + 1; },
                   kErrorInvalidParameter},
        HeaderCase{"tooManyBytes",
                   [](BitmapInfo& i) {
                     i.header.bitCount = 32;
                     i.header.compression = kBiBitfields;
                     i.header.width = 65535;
                     i.header.height = 65535;
                   },
                   kErrorNotEnoughMemory},
        HeaderCase{"mostNegativeHeight", [](BitmapInfo& i) { i.header.height = INT32_MIN; },
                   kErrorInvalidParameter}),
    [](const testing::TestParamInfo<HeaderCase>& info) { return std::string(info.param.name); });

TEST(DibSectionTest, RowStrideRoundsEightAndTwentyFourBitRowsToFourBytes) {
  struct Case {
    int width, bitCount;
    size_t stride;
  } cases[] = {{1, 8, 4}, {4, 8, 4}, {5, 8, 8}, {1, 24, 4}, {3, 24, 12}, {5, 24, 16}, {3, 32, 12}};
  for (const auto& c : cases) {
    const auto dib = DibSection::Create(c.width, 2, c.bitCount);
    ASSERT_NE(dib, nullptr);
    EXPECT_EQ(dib->Stride(), c.stride) << c.width << "x" << c.bitCount;
    EXPECT_EQ(dib->ImageSize(), c.stride * 2);
    EXPECT_EQ(dib->Header().sizeImage, c.stride * 2);
  }
}

TEST(DibSectionTest, BottomUpRowsKeepTheTopRowLastInMemory) {
  const auto bottomUp = DibSection::Create(2, 3, 24);
  bottomUp->SetPixelColor(0, 0, Rgb(1, 2, 3));
  const uint8_t* last = bottomUp->Bits() + 2 * bottomUp->Stride();
  EXPECT_EQ(last[0], 3);  // blue, green, red
  EXPECT_EQ(last[1], 2);
  EXPECT_EQ(last[2], 1);
  EXPECT_EQ(bottomUp->Row(0), last);

  BitmapInfo info = MakeBitmapInfo(2, -3, 24);
  const auto topDown = DibSection::Create(info);
  ASSERT_NE(topDown, nullptr);
  EXPECT_TRUE(topDown->IsTopDown());
  EXPECT_EQ(topDown->Height(), 3);
  EXPECT_EQ(topDown->Row(0), topDown->Bits());
}

TEST(DibSectionTest, PixelMemoryStartsZeroed) {
  const auto dib = DibSection::Create(7, 5, 32);
  for (size_t i = 0; i < dib->ImageSize(); ++i) ASSERT_EQ(dib->Bits()[i], 0) << i;
}

TEST(DibSectionTest, ColourTableHoldsTheColoursUsedAndNoMore) {
  BitmapInfo info = MakeBitmapInfo(2, 2, 8);
  info.header.clrUsed = 4;
  info.colors[3] = RgbQuad{30, 20, 10, 0};
  info.colors[4] = RgbQuad{99, 99, 99, 0};  // beyond the colours used
  const auto dib = DibSection::Create(info);
  ASSERT_NE(dib, nullptr);
  EXPECT_EQ(dib->ColorsUsed(), 4u);
  EXPECT_EQ(dib->Header().clrUsed, 4u);
  EXPECT_EQ(dib->ColorTable()[3], (RgbQuad{30, 20, 10, 0}));
  EXPECT_EQ(dib->ColorTable()[4], RgbQuad{});

  const RgbQuad entries[] = {{1, 1, 1, 0}, {2, 2, 2, 0}, {3, 3, 3, 0}};
  EXPECT_EQ(dib->SetColorTable(2, entries), 2u);  // stops at the colours used
  EXPECT_EQ(dib->ColorTable()[3], (RgbQuad{2, 2, 2, 0}));
  EXPECT_EQ(dib->SetColorTable(4, entries), 0u);

  dib->Row(1)[1] = 3;
  EXPECT_EQ(dib->PixelColor(1, 1), Rgb(2, 2, 2));
  EXPECT_EQ(DibSection::Create(2, 2, 24)->SetColorTable(0, entries), 0u);
}

TEST(DibSectionTest, ZeroColoursUsedMeansAll256) {
  BitmapInfo info = MakeBitmapInfo(1, 1, 8);
  info.colors = GreyColorTable();
  const auto dib = DibSection::Create(info);
  EXPECT_EQ(dib->ColorsUsed(), 256u);
  EXPECT_EQ(dib->ColorTable()[200], (RgbQuad{200, 200, 200, 0}));
}

TEST(DibSectionTest, EightBitColoursBecomeTheNearestEntry) {
  BitmapInfo info = MakeBitmapInfo(1, 1, 8);
  info.header.clrUsed = 3;
  info.colors[0] = RgbQuad{0, 0, 0, 0};
  info.colors[1] = RgbQuad{0, 0, 255, 0};  // red
  info.colors[2] = RgbQuad{255, 255, 255, 0};
  const auto dib = DibSection::Create(info);
  dib->SetPixelColor(0, 0, Rgb(200, 30, 30));
  EXPECT_EQ(dib->Row(0)[0], 1);
  dib->SetPixelColor(0, 0, Rgb(180, 180, 180));
  EXPECT_EQ(dib->Row(0)[0], 2);
}

TEST(DibSectionTest, MasksPlaceTheChannelsAndLeaveTheFourthByte) {
  BitmapInfo info = MakeBitmapInfo(1, 1, 32);
  info.masks = ColorMasks{0x000000FF, 0x0000FF00, 0x00FF0000};  // red first in memory
  const auto rgb = DibSection::Create(info);
  rgb->Row(0)[3] = 77;
  rgb->SetPixelColor(0, 0, Rgb(10, 20, 30));
  const uint8_t expected[] = {10, 20, 30, 77};
  EXPECT_EQ(std::memcmp(rgb->Row(0), expected, 4), 0);
  EXPECT_EQ(rgb->PixelColor(0, 0), Rgb(10, 20, 30));

  const auto standard = DibSection::Create(1, 1, 32);
  EXPECT_EQ(standard->Header().compression, kBiBitfields);
  standard->Row(0)[3] = 200;
  standard->SetPixelColor(0, 0, Rgb(10, 20, 30));
  const uint8_t bgra[] = {30, 20, 10, 200};
  EXPECT_EQ(std::memcmp(standard->Row(0), bgra, 4), 0);
}

}  // namespace
}  // namespace platform
