#include "applet/skin/gif_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "applet/skin/skin_image_file.h"
#include "tests/applet/skin/picture_fixtures.h"

namespace applet {
namespace {

using skin_test::Bytes;
using skin_test::GifSpec;
using skin_test::MakeGif;
using skin_test::MakeGifWithCodes;

std::vector<skin_test::Rgb> Greys(int n) {
  std::vector<skin_test::Rgb> table;
  for (int i = 0; i < n; ++i) table.push_back({static_cast<uint8_t>(i), static_cast<uint8_t>(i), static_cast<uint8_t>(i)});
  return table;
}

// Decodes into rows of width bytes, top row first; every byte starts as
// 0xEE so that rows without data are told apart from rows of zeros.
struct Decoded {
  int info = -99;
  int decode = -99;
  GifInfo gif;
  std::vector<std::vector<uint8_t>> rows;
};

Decoded Decode(const std::string& file) {
  Decoded d;
  d.info = ReadGifInfo(Bytes(file), d.gif);
  if (d.info != GifInfo::kOk) return d;
  std::vector<uint8_t> pixels(static_cast<size_t>(d.gif.width) * d.gif.height, 0xEE);
  d.decode = DecodeGifPixels(Bytes(file), d.gif, {pixels.data(), d.gif.width});
  for (int y = 0; y < d.gif.height; ++y)
    d.rows.emplace_back(pixels.begin() + y * d.gif.width, pixels.begin() + (y + 1) * d.gif.width);
  return d;
}

TEST(GifDecoderTest, EncodedPicturesComeBackPixelForPixel) {
  std::mt19937 random(7);
  struct Case {
    const char* name;
    int width, height, colours;
    bool runs;  // long runs of one colour make long code chains
  };
  const Case cases[] = {
      {"noise, 256 colours, the dictionary fills and restarts", 97, 61, 256, false},
      {"four colours, smallest code size", 13, 7, 4, false},
      {"two colours in long runs", 200, 40, 2, true},
      {"one row", 50, 1, 16, false},
      {"one column", 1, 50, 16, false},
  };
  for (const Case& c : cases) {
    GifSpec spec;
    spec.width = c.width;
    spec.height = c.height;
    spec.globalTable = Greys(c.colours);
    for (int i = 0; i < c.width * c.height; ++i)
      spec.pixels.push_back(static_cast<uint8_t>(c.runs ? (i / 997) % c.colours : random() % c.colours));
    const Decoded d = Decode(MakeGif(spec));
    ASSERT_EQ(d.info, GifInfo::kOk) << c.name;
    EXPECT_EQ(d.decode, GifInfo::kOk) << c.name;
    std::vector<uint8_t> flat;
    for (const auto& row : d.rows) flat.insert(flat.end(), row.begin(), row.end());
    EXPECT_EQ(flat, spec.pixels) << c.name;
  }
}

TEST(GifDecoderTest, InterlacedRowsGoToTheirPassesRows) {
  GifSpec spec;
  spec.width = 1;
  spec.height = 10;
  spec.interlaced = true;
  spec.globalTable = Greys(16);
  for (uint8_t i = 0; i < 10; ++i) spec.pixels.push_back(i);  // the i-th row of the stream
  const Decoded d = Decode(MakeGif(spec));
  ASSERT_EQ(d.info, GifInfo::kOk);
  const int streamOrder[] = {0, 8, 4, 2, 6, 1, 3, 5, 7, 9};
  for (int k = 0; k < 10; ++k) EXPECT_EQ(d.rows[static_cast<size_t>(streamOrder[k])][0], k) << "stream row " << k;
}

TEST(GifDecoderTest, InformationComesFromTheFirstImage) {
  GifSpec spec;
  spec.version = "87a";
  spec.width = 3;
  spec.height = 2;
  spec.globalTable = Greys(8);
  spec.localTable = {{255, 0, 0}, {0, 255, 0}};
  spec.transparentIndex = 1;
  spec.pixels = {0, 1, 0, 1, 0, 1};
  GifInfo info;
  ASSERT_EQ(ReadGifInfo(Bytes(MakeGif(spec)), info), GifInfo::kOk);
  EXPECT_EQ(info.width, 3);
  EXPECT_EQ(info.height, 2);
  EXPECT_EQ(info.bitsPerPixel, 3);  // of the global table's size field
  EXPECT_EQ(info.colourCount, 2u);  // the local table replaces the global one
  EXPECT_EQ(info.colours[0].red, 255);
  EXPECT_EQ(info.transparentIndex, 1);
}

TEST(GifDecoderTest, StructuralFaultsEndTheFileWithTheirResult) {
  GifSpec good;
  good.width = 2;
  good.height = 2;
  good.globalTable = Greys(4);
  good.pixels = {1, 2, 3, 0};
  const std::string file = MakeGif(good);
  const size_t descriptor = file.find(',');

  struct Case {
    const char* name;
    std::string bytes;
    int result;
  };
  const Case cases[] = {
      {"version 86a", "GIF86a" + file.substr(6), GifInfo::kUnknownVersion},
      {"not a GIF", "GIX89a" + file.substr(6), GifInfo::kMalformed},
      {"trailer before any image", file.substr(0, descriptor) + ";", GifInfo::kMalformed},
      {"cut inside the screen descriptor", file.substr(0, 9), GifInfo::kMalformed},
      {"cut inside the colour table", file.substr(0, 15), GifInfo::kMalformed},
      {"cut inside the image descriptor", file.substr(0, descriptor + 5), GifInfo::kMalformed},
      {"extension without its terminator", file.substr(0, descriptor) + "!\xFE\x03" "abc", GifInfo::kMalformed},
  };
  for (const Case& c : cases) {
    GifInfo info;
    EXPECT_EQ(ReadGifInfo(Bytes(c.bytes), info), c.result) << c.name;
  }
}

TEST(GifDecoderTest, ExtensionsAndStrayBytesBeforeTheImageAreSkipped) {
  GifSpec spec;
  spec.width = 2;
  spec.height = 1;
  spec.globalTable = Greys(4);
  spec.pixels = {3, 2};
  std::string file = MakeGif(spec);
  // A comment, an application extension, a graphic control extension
  // without the transparency bit, and a stray byte.
  const std::string extras = std::string("!\xFE\x05hello\x00", 9) + std::string("!\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00", 19) +
                             std::string("!\xF9\x04\x00\x00\x00\x02\x00", 8) + "x";
  file.insert(file.find(','), extras);
  const Decoded d = Decode(file);
  ASSERT_EQ(d.info, GifInfo::kOk);
  EXPECT_EQ(d.gif.transparentIndex, -1);
  EXPECT_EQ(d.rows[0], (std::vector<uint8_t>{3, 2}));
}

TEST(GifDecoderTest, CorruptCodesEndTheImageWithoutWritingOutside) {
  GifSpec spec;
  spec.width = 4;
  spec.height = 2;
  spec.globalTable = Greys(8);  // minimum code size 3: clear 8, end 9, first free 10
  struct Case {
    const char* name;
    std::vector<std::pair<int, int>> codes;
    std::vector<std::vector<uint8_t>> rows;
  };
  const std::vector<uint8_t> untouched(4, 0xEE);
  const Case cases[] = {
      {"a first code that is no pixel", {{8, 4}, {12, 4}, {1, 4}}, {untouched, untouched}},
      {"only the end code", {{8, 4}, {9, 4}}, {untouched, untouched}},
      {"a code that names itself as its prefix",
       // Code 11 read while 10 is the next free code leaves 11 as the
       // previous code, so entry 11 becomes its own prefix.
       {{8, 4}, {1, 4}, {11, 4}, {2, 4}, {11, 4}},
       {{1, 1, 1, 2}, untouched}},
      {"two entries that are each other's prefix (a chain longer than the stack)",
       {{8, 4}, {1, 4}, {12, 4}, {11, 4}, {2, 4}, {11, 4}},
       {{1, 1, 1, 0}, {0, 1, 2, 0xEE}}},
      {"more data than the image",
       // Entry 15 takes the codes to 5 bits.
       {{8, 4}, {1, 4}, {2, 4}, {3, 4}, {4, 4}, {5, 4}, {6, 4}, {7, 4}, {1, 5}, {2, 5}, {3, 5}},
       {{1, 2, 3, 4}, {5, 6, 7, 1}}},
      {"less data than the image", {{8, 4}, {1, 4}, {2, 4}, {3, 4}, {9, 4}}, {{1, 2, 3, 0xEE}, untouched}},
  };
  for (const Case& c : cases) {
    const Decoded d = Decode(MakeGifWithCodes(spec, 3, c.codes));
    ASSERT_EQ(d.info, GifInfo::kOk) << c.name;
    EXPECT_EQ(d.decode, GifInfo::kOk) << c.name;
    EXPECT_EQ(d.rows, c.rows) << c.name;
  }
}

TEST(GifDecoderTest, DataCutShortKeepsWhatArrived) {
  GifSpec spec;
  spec.width = 8;
  spec.height = 8;
  spec.globalTable = Greys(4);
  spec.pixels.assign(64, 3);
  const std::string file = MakeGif(spec);
  // Every prefix that holds the image descriptor decodes what its data
  // gives, in order; the pixels it cannot reach keep their bytes.
  for (size_t cut = file.find(',') + 10; cut < file.size(); ++cut) {
    const Decoded d = Decode(file.substr(0, cut));
    ASSERT_EQ(d.info, GifInfo::kOk) << cut;
    std::vector<uint8_t> flat;
    for (const auto& row : d.rows) flat.insert(flat.end(), row.begin(), row.end());
    const auto reached = std::find(flat.begin(), flat.end(), 0xEE);
    EXPECT_TRUE(std::all_of(flat.begin(), reached, [](uint8_t p) { return p == 3; })) << cut;
    EXPECT_TRUE(std::all_of(reached, flat.end(), [](uint8_t p) { return p == 0xEE; })) << cut;
  }
  // A minimum code size outside 1 to 8 is refused.
  std::string bad = file;
  bad[file.find(',') + 10] = 12;
  EXPECT_EQ(Decode(bad).decode, GifInfo::kMalformed);
}

TEST(GifDecoderTest, StatedSizesBeyondTheLimitAreRefusedBeforeDecoding) {
  GifSpec spec;
  spec.width = 65535;
  spec.height = 65535;
  spec.globalTable = Greys(4);
  spec.pixels = {1};
  GifInfo info;
  EXPECT_EQ(ReadGifInfo(Bytes(MakeGif(spec)), info), GifInfo::kTooLarge);
  SkinDib picture;
  EXPECT_EQ(LoadPictureBytes(Bytes(MakeGif(spec)), u"\\big.gif", picture), picture_result::kFailed);
  EXPECT_TRUE(picture.IsEmpty());
}

}  // namespace
}  // namespace applet
