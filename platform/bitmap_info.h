#pragma once
// The description of a device-independent bitmap: the handheld's 40-byte
// bitmap information header, the three colour masks of a bit-field bitmap
// and the colour table.
//
//   offset  size  field (little-endian)
//   0       4     size of the header, 40
//   4       4     width in pixels, > 0
//   8       4     height in pixels; > 0 stores the rows bottom-up (the last
//                 row in memory is the top of the picture), < 0 top-down
//   12      2     planes, 1
//   14      2     bits per pixel: 8, 24 or 32 here
//   16      4     compression: 0 plain (kBiRgb), 3 bit fields (kBiBitfields,
//                 32 bits only; the three masks follow the header)
//   20      4     size of the pixel data (0 is allowed for plain bitmaps)
//   24      4     horizontal resolution, pixels per metre (not used)
//   28      4     vertical resolution, pixels per metre (not used)
//   32      4     colours used: entries of the colour table (8 bits; 0
//                 means all 256)
//   36      4     colours important (not used)
//
// Rows: a row of 8 or 24 bits occupies width * bytes per pixel rounded up to
// a multiple of 4 bytes; a 32-bit row occupies width * 4 bytes.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace platform {

inline constexpr uint32_t kBiRgb = 0;
inline constexpr uint32_t kBiBitfields = 3;

struct BitmapInfoHeader {
  uint32_t size = 40;
  int32_t width = 0;
  int32_t height = 0;
  uint16_t planes = 1;
  uint16_t bitCount = 0;
  uint32_t compression = kBiRgb;
  uint32_t sizeImage = 0;
  int32_t xPelsPerMeter = 0;
  int32_t yPelsPerMeter = 0;
  uint32_t clrUsed = 0;
  uint32_t clrImportant = 0;
};
static_assert(sizeof(BitmapInfoHeader) == 40, "the header is the handheld's 40 bytes");

// One colour-table entry, in memory order.
struct RgbQuad {
  uint8_t blue = 0;
  uint8_t green = 0;
  uint8_t red = 0;
  uint8_t reserved = 0;
  bool operator==(const RgbQuad&) const = default;
};

inline constexpr size_t kMaxColorTableEntries = 256;

// The masks of a 32-bit bit-field bitmap, and the ones the handheld uses.
struct ColorMasks {
  uint32_t red = 0x00FF0000;
  uint32_t green = 0x0000FF00;
  uint32_t blue = 0x000000FF;
  bool operator==(const ColorMasks&) const = default;
};

// Everything CreateDIBSection reads: header, masks (bit fields only) and
// colour table (8 bits only; entries beyond colours used are ignored).
struct BitmapInfo {
  BitmapInfoHeader header;
  ColorMasks masks;
  std::array<RgbQuad, kMaxColorTableEntries> colors{};
};

// A header for a plain bitmap of the given size and depth, rows bottom-up;
// 32 bits get bit fields with the handheld's masks.
BitmapInfo MakeBitmapInfo(int width, int height, int bitCount);

// The colour table of 256 greys (entry i is i, i, i).
std::array<RgbQuad, kMaxColorTableEntries> GreyColorTable();

// Limits on what a bitmap may need: no side longer than kMaxDibSide and no
// more than kMaxDibBytes of pixel data (a 64-megapixel picture at 32 bits).
inline constexpr int kMaxDibSide = 65535;
inline constexpr size_t kMaxDibBytes = size_t{64} * 1024 * 1024 * 4;

// Bytes of one row, or nullopt for a depth other than 8, 24 or 32 or a width
// outside 1..kMaxDibSide.
std::optional<size_t> DibRowStride(int width, int bitCount);

// Bytes of the whole picture, checked against kMaxDibBytes; nullopt when the
// picture is not allowed.
std::optional<size_t> DibImageSize(int width, int height, int bitCount);

}  // namespace platform
