#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <string>
#include <vector>

#include "applet/skin/picture_format.h"
#include "applet/skin/skin_image_file.h"
#include "platform/journal.h"
#include "tests/applet/skin/picture_fixtures.h"
#include "tests/support/temp_device.h"

namespace applet {
namespace {

using skin_test::Bytes;

struct Bgra {
  uint8_t b, g, r, a;
  bool operator==(const Bgra&) const = default;
};

std::vector<uint8_t> Row(const SkinDib& picture, int y) {
  const size_t bytes = static_cast<size_t>(picture.Width()) * picture.BitCount() / 8;
  return {picture.Row(y), picture.Row(y) + bytes};
}

// Runs a load and tells whether it wrote anything to the error stream.
struct QuietLoad {
  int result;
  bool printed;
};
QuietLoad LoadQuietly(const std::string& file, platform::WStringView name, SkinDib& picture) {
  testing::internal::CaptureStderr();
  const int result = LoadPictureBytes(Bytes(file), name, picture);
  return {result, !testing::internal::GetCapturedStderr().empty()};
}

TEST(PictureFormatTest, TheFirstBytesOrTheNameTellTheFormat) {
  std::string wireless(96, '\0');
  const char mark[] = {'\xD6', '\xA9', '\x06', '\x01', '\x01', '\x02', '\x00', '\x00'};
  wireless.replace(80, 8, mark, 8);
  struct Case {
    std::string head;
    const char16_t* path;
    PictureFormat format;
  };
  const Case cases[] = {
      {"BM....", u"a.bmp", PictureFormat::Bmp},
      {"II*\0", u"a.tif", PictureFormat::Tiff},
      {std::string("\x0A\x05\x01\x08", 4), u"a.pcx", PictureFormat::Pcx},
      {"GIF89a", u"a.gif", PictureFormat::Gif},
      {"\xFF\xD8\xFF\xE0", u"a.jpg", PictureFormat::Jpeg},
      {"\x89PNG\r\n", u"a.png", PictureFormat::Png},
      {wireless, u"a.wbm", PictureFormat::Wireless},
      {"fax data", u"\\Faxes\\page.t31", PictureFormat::Fax},
      {"fax data", u"page.T4C", PictureFormat::Fax},
      {"fax data", u"page.t45", PictureFormat::Unknown},
      // The signature wins over the name.
      {"GIF89a", u"page.t31", PictureFormat::Gif},
      {"", u"empty", PictureFormat::Unknown},
      {"B", u"short", PictureFormat::Unknown},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SniffPicture(Bytes(c.head), c.path), c.format) << platform::ToUtf8(c.path);
}

TEST(PictureFormatTest, RecognisedFormatsWithoutADecoderAreRefused) {
  test_support::TempDevice device;
  device.WriteFile("p/page.t31", "fax data");
  device.WriteFile("p/scan.tif", "II*\0rest");
  device.WriteFile("p/notes.txt", "hello");
  SkinImageFile image;
  EXPECT_EQ(image.Load(u"\\p\\page.t31"), picture_result::kFailed);
  EXPECT_EQ(image.Load(u"\\p\\scan.tif"), picture_result::kFailed);
  EXPECT_EQ(image.Load(u"\\p\\notes.txt"), picture_result::kUnrecognised);
  EXPECT_EQ(image.Load(u"\\p\\missing.gif"), picture_result::kFailed);
  EXPECT_EQ(SniffPictureFile(u"\\p\\missing.gif"), PictureFormat::CannotOpen);
  EXPECT_TRUE(image.IsEmpty());
}

TEST(PictureLoadingTest, ATransparentGifIndexBecomesAlphaZeroExactlyAtItsPixels) {
  skin_test::GifSpec spec;
  spec.width = 4;
  spec.height = 2;
  spec.globalTable = {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}, {1, 2, 3}};
  spec.transparentIndex = 3;
  spec.pixels = {0, 3, 1, 3, 3, 2, 0, 1};
  SkinDib picture;
  PictureInfo info;
  ASSERT_EQ(LoadPictureBytes(Bytes(skin_test::MakeGif(spec)), u"t.gif", picture, &info), picture_result::kOk);
  EXPECT_EQ(info.transparentColour, 0xFF010203u);
  ASSERT_EQ(picture.BitCount(), 32);
  const Bgra colours[] = {{30, 20, 10, 255}, {60, 50, 40, 255}, {90, 80, 70, 255}, {3, 2, 1, 0}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) {
      const uint8_t* p = picture.Row(y) + 4 * x;
      EXPECT_EQ((Bgra{p[0], p[1], p[2], p[3]}), colours[spec.pixels[static_cast<size_t>(y * 4 + x)]]) << x << "," << y;
    }
}

TEST(PictureLoadingTest, AnOpaqueGifStaysEightBitsWithItsTable) {
  skin_test::GifSpec spec;
  spec.width = 3;
  spec.height = 1;
  spec.globalTable = {{255, 0, 0}, {0, 255, 0}};
  spec.pixels = {1, 0, 1};
  SkinDib picture;
  ASSERT_EQ(LoadPictureBytes(Bytes(skin_test::MakeGif(spec)), u"o.gif", picture), picture_result::kOk);
  EXPECT_EQ(picture.BitCount(), 8);
  ASSERT_EQ(picture.ColourTable().size(), 2u);
  EXPECT_EQ(picture.ColourTable()[0], (platform::RgbQuad{0, 0, 255, 0}));
  EXPECT_EQ(Row(picture, 0), (std::vector<uint8_t>{1, 0, 1}));
  EXPECT_EQ(picture.Header().xPelsPerMeter, kDefaultPixelsPerMetre);
}

TEST(PictureLoadingTest, BmpDepthsBecomeThePicturesOfTheEngine) {
  using skin_test::BmpSpec;
  struct Case {
    const char* name;
    BmpSpec spec;
    int bitCount;
    std::vector<std::vector<uint8_t>> rows;  // top row first
  };
  const std::vector<skin_test::Rgb> table = {{0, 0, 0}, {255, 255, 255}, {255, 0, 0}, {0, 0, 255}};
  const Case cases[] = {
      {"1 bit, bottom-up", {2, 2, 1, 0, {table[0], table[1]}, 2, 0, {{0x80, 0, 0, 0}, {0x40, 0, 0, 0}}},
       8, {{0, 1}, {1, 0}}},
      {"4 bits", {3, 1, 4, 0, table, 4, 0, {{0x12, 0x30, 0, 0}}}, 8, {{1, 2, 3}}},
      {"8 bits, top-down", {2, -2, 8, 0, table, 4, 0, {{2, 3, 0, 0}, {1, 0, 0, 0}}}, 8, {{2, 3}, {1, 0}}},
      {"24 bits", {1, 1, 24, 0, {}, 0, 0, {{1, 2, 3, 0}}}, 24, {{1, 2, 3}}},
      {"32 bits keep the fourth byte", {1, 1, 32, 0, {}, 0, 0, {{1, 2, 3, 4}}}, 32, {{1, 2, 3, 4}}},
      {"16 bits, 5-5-5", {1, 1, 16, 0, {}, 0, 0, {{0x1F, 0x7C, 0, 0}}}, 24, {{255, 0, 255}}},
  };
  for (const Case& c : cases) {
    SkinDib picture;
    ASSERT_EQ(LoadPictureBytes(Bytes(skin_test::MakeBmp(c.spec)), u"b.bmp", picture), picture_result::kOk) << c.name;
    EXPECT_EQ(picture.BitCount(), c.bitCount) << c.name;
    for (size_t y = 0; y < c.rows.size(); ++y) EXPECT_EQ(Row(picture, static_cast<int>(y)), c.rows[y]) << c.name;
  }
}

TEST(PictureLoadingTest, BmpInformationAndRefusals) {
  using skin_test::BmpSpec;
  const std::string good = skin_test::MakeBmp({2, 1, 24, 0, {}, 0, 3780, {{0, 0, 0, 0, 0, 0, 0, 0}}});
  SkinDib picture;
  PictureInfo info;
  ASSERT_EQ(LoadPictureBytes(Bytes(good), u"b.bmp", picture, &info), picture_result::kOk);
  EXPECT_EQ(info.format, PictureInfo::kBmp);
  EXPECT_EQ(info.xDotsPerInch, 96);  // 3780 pixels per metre
  EXPECT_EQ(picture.Header().xPelsPerMeter, 3780);

  struct Case {
    const char* name;
    std::string bytes;
  };
  std::vector<skin_test::Rgb> big(257);
  const Case cases[] = {
      {"run-length compressed", skin_test::MakeBmp({2, 1, 8, 1, {{0, 0, 0}}, 1, 0, {{0, 0, 0, 0}}})},
      {"a colour table of 257 entries", skin_test::MakeBmp({1, 1, 8, 0, big, 257, 0, {{0, 0, 0, 0}}})},
      {"pixels cut short", good.substr(0, good.size() - 1)},
      {"headers cut short", good.substr(0, 30)},
      {"a size beyond the limit", skin_test::MakeBmp({60000, 60000, 24, 0, {}, 0, 0, {}})},
      {"no width", skin_test::MakeBmp({0, 1, 24, 0, {}, 0, 0, {}})},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LoadPictureBytes(Bytes(c.bytes), u"b.bmp", picture), picture_result::kFailed) << c.name;
    EXPECT_TRUE(picture.IsEmpty()) << c.name;
  }
}

TEST(PictureLoadingTest, PngColourTypesAndDepths) {
  using skin_test::PngSpec;
  struct Case {
    const char* name;
    PngSpec spec;
    int bitCount;
    std::vector<uint8_t> row;  // the first row as stored
    std::vector<uint8_t> shownGreys;  // through the colour table, for 8 bits
  };
  const Case cases[] = {
      {"2-bit grey shows black, 85, 170 and white",
       {4, 1, PNG_COLOR_TYPE_GRAY, 2, false, {}, {}, {{0x1B}}}, 8, {0, 5, 10, 15}, {0, 85, 170, 255}},
      {"1-bit grey", {2, 1, PNG_COLOR_TYPE_GRAY, 1, false, {}, {}, {{0x40}}}, 8, {0, 1}, {0, 255}},
      {"4-bit grey", {2, 1, PNG_COLOR_TYPE_GRAY, 4, false, {}, {}, {{0x1F}}}, 8, {1, 15}, {17, 255}},
      {"8-bit grey", {2, 1, PNG_COLOR_TYPE_GRAY, 8, false, {}, {}, {{7, 200}}}, 8, {7, 200}, {7, 200}},
      {"2-bit palette keeps its indices",
       {4, 1, PNG_COLOR_TYPE_PALETTE, 2, false, {{0, 0, 0}, {9, 9, 9}, {99, 99, 99}, {199, 199, 199}}, {}, {{0x1B}}},
       8, {0, 1, 2, 3}, {0, 9, 99, 199}},
      {"16-bit colour loads as 8 bits per channel",
       {1, 1, PNG_COLOR_TYPE_RGB, 16, false, {}, {}, {{0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC}}}, 24, {0x9A, 0x56, 0x12}, {}},
      {"colour with alpha", {1, 1, PNG_COLOR_TYPE_RGBA, 8, false, {}, {}, {{1, 2, 3, 4}}}, 32, {3, 2, 1, 4}, {}},
      {"grey with alpha becomes colour", {1, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, false, {}, {}, {{50, 60}}}, 32,
       {50, 50, 50, 60}, {}},
      {"a transparent palette entry becomes alpha",
       {2, 1, PNG_COLOR_TYPE_PALETTE, 8, false, {{1, 2, 3}, {4, 5, 6}}, {0}, {{0, 1}}}, 32, {3, 2, 1, 0, 6, 5, 4, 255},
       {}},
      {"interlaced", {2, 1, PNG_COLOR_TYPE_RGB, 8, true, {}, {}, {{1, 2, 3, 4, 5, 6}}}, 24, {3, 2, 1, 6, 5, 4}, {}},
  };
  for (const Case& c : cases) {
    SkinDib picture;
    ASSERT_EQ(LoadPictureBytes(Bytes(skin_test::MakePng(c.spec)), u"p.png", picture), picture_result::kOk) << c.name;
    EXPECT_EQ(picture.BitCount(), c.bitCount) << c.name;
    EXPECT_EQ(Row(picture, 0), c.row) << c.name;
    std::vector<uint8_t> greys;
    for (uint8_t index : Row(picture, 0))
      if (!c.shownGreys.empty()) greys.push_back(picture.ColourTable()[index].red);
    EXPECT_EQ(greys, c.shownGreys) << c.name;
  }
}

TEST(PictureLoadingTest, PngRowsGoTopDownAndTheInformationStepReportsTheFile) {
  skin_test::PngSpec spec{1, 3, PNG_COLOR_TYPE_GRAY, 8, false, {}, {}, {{10}, {20}, {30}}};
  SkinDib picture;
  PictureInfo info;
  ASSERT_EQ(LoadPictureBytes(Bytes(skin_test::MakePng(spec)), u"p.png", picture, &info), picture_result::kOk);
  EXPECT_EQ(Row(picture, 0)[0], 10);
  EXPECT_EQ(Row(picture, 2)[0], 30);
  EXPECT_EQ(info.format, PictureInfo::kPng);
  EXPECT_EQ(info.width, 1);
  EXPECT_EQ(info.height, 3);
  EXPECT_EQ(info.bitsPerPixel, 8);
  EXPECT_EQ(info.xDotsPerInch, 0);
  EXPECT_EQ(picture.Header().xPelsPerMeter, kDefaultPixelsPerMetre);
}

TEST(PictureLoadingTest, BrokenPngAndJpegFailQuietly) {
  const std::string png = skin_test::MakePng({8, 8, PNG_COLOR_TYPE_RGB, 8, false, {}, {}, std::vector<std::vector<uint8_t>>(8, std::vector<uint8_t>(24, 7))});
  const std::string jpeg = skin_test::MakeJpeg(16, 16, 3, std::vector<uint8_t>(16 * 16 * 3, 100));
  std::string badCrc = png;
  badCrc[30] ^= 0x55;  // inside the header chunk
  std::string badPrecision = jpeg;
  badPrecision[jpeg.find("\xFF\xC0") + 4] = 3;  // the frame's sample precision
  struct Case {
    const char* name;
    std::string bytes;
    const char16_t* path;
  };
  const Case cases[] = {
      {"PNG cut inside its data", png.substr(0, png.size() / 2), u"a.png"},
      {"PNG with a damaged header chunk", badCrc, u"a.png"},
      {"PNG signature only", png.substr(0, 8), u"a.png"},
      {"JPEG cut inside its data", jpeg.substr(0, jpeg.size() / 2), u"a.jpg"},
      {"JPEG start marker only", jpeg.substr(0, 2), u"a.jpg"},
      {"JPEG of an unsupported precision", badPrecision, u"a.jpg"},
  };
  for (const Case& c : cases) {
    SkinDib picture;
    const QuietLoad load = LoadQuietly(c.bytes, c.path, picture);
    EXPECT_EQ(load.result, picture_result::kFailed) << c.name;
    EXPECT_FALSE(load.printed) << c.name;
    EXPECT_TRUE(picture.IsEmpty()) << c.name;
  }
}

TEST(PictureLoadingTest, JpegGreyAndColour) {
  std::vector<uint8_t> grey(8 * 8, 0);
  for (int x = 0; x < 8; ++x) grey[static_cast<size_t>(x)] = 255;  // a white top row
  SkinDib picture;
  ASSERT_EQ(LoadPictureBytes(Bytes(skin_test::MakeJpeg(8, 8, 1, grey)), u"g.jpg", picture), picture_result::kOk);
  EXPECT_EQ(picture.BitCount(), 8);
  EXPECT_EQ(picture.ColourTable().size(), 256u);
  EXPECT_EQ(picture.ColourTable()[200], (platform::RgbQuad{200, 200, 200, 0}));
  EXPECT_GT(Row(picture, 0)[3], 200);  // the top row lands at the top
  EXPECT_LT(Row(picture, 7)[3], 50);

  std::vector<uint8_t> red(8 * 8 * 3, 0);
  for (size_t i = 0; i < red.size(); i += 3) red[i] = 255;
  ASSERT_EQ(LoadPictureBytes(Bytes(skin_test::MakeJpeg(8, 8, 3, red)), u"c.jpg", picture), picture_result::kOk);
  EXPECT_EQ(picture.BitCount(), 24);
  const std::vector<uint8_t> pixel(picture.Row(4), picture.Row(4) + 3);
  EXPECT_LT(pixel[0], 10);   // blue first
  EXPECT_GT(pixel[2], 245);  // red last
}

TEST(PictureLoadingTest, OversizedPngIsRefusedBeforeAPictureIsMade) {
  test_support::TempDevice device;
  // The header states 60000 x 60000; nothing is allocated for it, so no
  // picture-creation message reaches the user.
  std::string png = skin_test::MakePng({1, 1, PNG_COLOR_TYPE_GRAY, 8, false, {}, {}, {{0}}});
  const std::string size("\x00\x00\xEA\x60\x00\x00\xEA\x60", 8);
  png.replace(16, 8, size);
  SkinDib picture;
  EXPECT_EQ(LoadPictureBytes(Bytes(png), u"big.png", picture), picture_result::kFailed);
  for (const std::string& line : device.Device().Journal().Lines())
    EXPECT_EQ(line.find("message box"), std::string::npos) << line;
}

}  // namespace
}  // namespace applet
