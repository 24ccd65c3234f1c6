#pragma once
// Picture files made in memory for the image loading tests: GIF through a
// small LZW encoder of the tests' own (and a packer for hand-made code
// streams), PNG and JPEG through libpng and libjpeg, BMP byte by byte.

#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace skin_test {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
};

struct GifSpec {
  std::string version = "89a";
  int width = 0;
  int height = 0;
  std::vector<Rgb> globalTable;  // size a power of two, or empty
  std::vector<Rgb> localTable;   // likewise
  bool interlaced = false;
  int transparentIndex = -1;
  // Pixels in the order the stream carries them (for an interlaced image,
  // the rows of the passes one after another).
  std::vector<uint8_t> pixels;
};

// A whole file; the LZW data encodes spec.pixels.
std::string MakeGif(const GifSpec& spec);
// A file whose image data is the given codes, each (code, bit width), with
// the given minimum code size.
std::string MakeGifWithCodes(const GifSpec& spec, int minimumCodeSize,
                             const std::vector<std::pair<int, int>>& codes);

struct PngSpec {
  int width = 0;
  int height = 0;
  int colourType = 0;  // libpng's PNG_COLOR_TYPE_*
  int bitDepth = 8;
  bool interlaced = false;
  std::vector<Rgb> palette;
  std::vector<uint8_t> transparency;  // tRNS: palette alphas
  // Rows as libpng writes them (packed for depths below 8, big-endian for 16).
  std::vector<std::vector<uint8_t>> rows;
};
std::string MakePng(const PngSpec& spec);

// components 1 (grey) or 3 (RGB); pixels top row first.
std::string MakeJpeg(int width, int height, int components, const std::vector<uint8_t>& pixels, int quality = 95);

struct BmpSpec {
  int width = 0;
  int height = 0;  // < 0: rows top-down
  int bitCount = 24;
  uint32_t compression = 0;
  std::vector<Rgb> table;
  uint32_t coloursUsed = 0;
  int32_t pixelsPerMetre = 0;
  // Rows as stored in the file, each already padded to 4 bytes.
  std::vector<std::vector<uint8_t>> rows;
};
std::string MakeBmp(const BmpSpec& spec);

inline std::span<const uint8_t> Bytes(const std::string& s) {
  return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

}  // namespace skin_test
