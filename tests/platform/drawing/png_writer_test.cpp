// PNG files of bitmaps, read back with libpng.
#include "platform/png_writer.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstring>
#include <filesystem>

#include "base/host_file.h"

namespace platform {
namespace {

struct Decoded {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;
};

Decoded Decode(const std::vector<uint8_t>& png) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  Decoded out;
  if (!png_image_begin_read_from_memory(&image, png.data(), png.size())) return out;
  image.format = PNG_FORMAT_RGBA;
  out.rgba.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, out.rgba.data(), 0, nullptr)) return {};
  out.width = static_cast<int>(image.width);
  out.height = static_cast<int>(image.height);
  return out;
}

TEST(PngWriterTest, WrittenFileReadsBackPixelForPixel) {
  for (int bits : {8, 24, 32}) {
    SCOPED_TRACE(bits);
    const auto dib = DibSection::Create(5, 3, bits);
    if (bits == 8) dib->SetColorTable(0, GreyColorTable());
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < 5; ++x) {
        const auto v = static_cast<uint8_t>(40 * x + y);
        dib->SetPixelColor(x, y, bits == 8 ? Rgb(v, v, v) : Rgb(v, static_cast<uint8_t>(y), 9));
      }
    }
    const auto path = std::filesystem::temp_directory_path() /
                      ("velm_png_" + std::to_string(::getpid()) + "_" + std::to_string(bits) + ".png");
    std::string why;
    ASSERT_TRUE(WritePng(*dib, path, PngAlpha::Opaque, &why)) << why;
    std::string bytes;
    ASSERT_TRUE(ReadHostFile(path, 1 << 20, bytes, &why)) << why;
    std::filesystem::remove(path);
    const Decoded d = Decode(std::vector<uint8_t>(bytes.begin(), bytes.end()));
    ASSERT_EQ(d.width, 5);
    ASSERT_EQ(d.height, 3);
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < 5; ++x) {
        const uint8_t* p = &d.rgba[(static_cast<size_t>(y) * 5 + x) * 4];
        const ColorRef c = dib->PixelColor(x, y);
        EXPECT_EQ(p[0], RedOf(c));
        EXPECT_EQ(p[1], GreenOf(c));
        EXPECT_EQ(p[2], BlueOf(c));
        EXPECT_EQ(p[3], 255);
      }
    }
  }
}

TEST(PngWriterTest, FourthByteBecomesAlphaWhenAsked) {
  const auto dib = DibSection::Create(2, 1, 32);
  dib->SetPixelColor(0, 0, Rgb(1, 2, 3));
  dib->Row(0)[3] = 128;
  dib->Row(0)[7] = 0;
  const auto png = EncodePng(*dib, PngAlpha::FromFourthByte);
  ASSERT_TRUE(png);
  const Decoded d = Decode(*png);
  ASSERT_EQ(d.width, 2);
  EXPECT_EQ(d.rgba[0], 1);
  EXPECT_EQ(d.rgba[3], 128);
  EXPECT_EQ(d.rgba[7], 0);
  EXPECT_EQ(Decode(*EncodePng(*dib, PngAlpha::Opaque)).rgba[3], 255);
}

}  // namespace
}  // namespace platform
