#include "applet/skin/bmp_decoder.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "applet/skin/picture_limits.h"
#include "base/byte_reader.h"

namespace applet {

namespace {

using picture_result::kFailed;
using picture_result::kOk;

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kHeaderWithMasksSize = 52;
constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitfields = 3;

struct BmpHeader {
  uint32_t pixelOffset = 0;
  uint32_t headerSize = 0;
  int32_t width = 0;
  int32_t height = 0;  // < 0: rows top-down
  uint16_t planes = 1;
  uint16_t bitCount = 0;
  uint32_t compression = kBiRgb;
  int32_t xPelsPerMeter = 0;
  int32_t yPelsPerMeter = 0;
  uint32_t coloursUsed = 0;
  uint32_t masks[3] = {0, 0, 0};  // red, green, blue
  size_t tableOffset = 0;
};

bool ReadHeader(std::span<const uint8_t> file, BmpHeader& h) {
  platform::ByteReader in(file);
  uint16_t magic = 0, reserved = 0;
  uint32_t fileSize = 0;
  if (!in.U16(magic) || !in.U32(fileSize) || !in.U16(reserved) || !in.U16(reserved) || !in.U32(h.pixelOffset) ||
      !in.U32(h.headerSize))
    return false;
  if (h.headerSize == kCoreHeaderSize) {
    uint16_t width = 0, height = 0;
    if (!in.U16(width) || !in.U16(height) || !in.U16(h.planes) || !in.U16(h.bitCount)) return false;
    h.width = width;
    h.height = height;
  } else if (h.headerSize >= kInfoHeaderSize) {
    uint32_t width = 0, height = 0, sizeImage = 0, xppm = 0, yppm = 0, important = 0;
    if (!in.U32(width) || !in.U32(height) || !in.U16(h.planes) || !in.U16(h.bitCount) || !in.U32(h.compression) ||
        !in.U32(sizeImage) || !in.U32(xppm) || !in.U32(yppm) || !in.U32(h.coloursUsed) || !in.U32(important))
      return false;
    h.width = static_cast<int32_t>(width);
    h.height = static_cast<int32_t>(height);
    h.xPelsPerMeter = static_cast<int32_t>(xppm);
    h.yPelsPerMeter = static_cast<int32_t>(yppm);
    const bool masksInHeader = h.headerSize >= kHeaderWithMasksSize;
    if (h.compression == kBiBitfields || masksInHeader) {
      // The masks end a long header, or follow a 40-byte one.
      if (!in.U32(h.masks[0]) || !in.U32(h.masks[1]) || !in.U32(h.masks[2])) return false;
    }
  } else {
    return false;
  }
  h.tableOffset = kFileHeaderSize + h.headerSize;
  if (h.headerSize == kInfoHeaderSize && h.compression == kBiBitfields) h.tableOffset += 12;
  return true;
}

// One channel from a masked pixel, scaled to 8 bits.
struct MaskedChannel {
  uint32_t mask = 0;
  int shift = 0;
  int bits = 0;

  explicit MaskedChannel(uint32_t m) : mask(m) {
    if (m == 0) return;
    shift = std::countr_zero(m);
    bits = std::popcount(m >> shift);
  }
  uint8_t operator()(uint32_t pixel) const {
    if (bits == 0) return 0;
    const uint32_t v = (pixel & mask) >> shift;
    if (bits >= 8) return static_cast<uint8_t>(v >> (bits - 8));
    const uint32_t top = (1u << bits) - 1;
    return static_cast<uint8_t>((v * 255 + top / 2) / top);
  }
};

bool ReadColourTable(std::span<const uint8_t> file, const BmpHeader& h, platform::BitmapInfo& info) {
  const uint32_t capacity = 1u << h.bitCount;
  const uint32_t count = h.coloursUsed != 0 ? h.coloursUsed : capacity;
  if (count > platform::kMaxColorTableEntries) return false;
  const size_t entrySize = h.headerSize == kCoreHeaderSize ? 3 : 4;
  platform::ByteReader in(file);
  std::span<const uint8_t> table;
  if (!in.Skip(h.tableOffset) || !in.Bytes(count * entrySize, table)) return false;
  for (uint32_t i = 0; i < count; ++i)
    info.colors[i] = {table[i * entrySize], table[i * entrySize + 1], table[i * entrySize + 2], 0};
  info.header.clrUsed = count;
  return true;
}

void ExpandIndices(const uint8_t* in, uint8_t* out, int width, int bitCount) {
  if (bitCount == 8) {
    std::memcpy(out, in, static_cast<size_t>(width));
    return;
  }
  const int perByte = 8 / bitCount;
  const uint8_t mask = static_cast<uint8_t>((1u << bitCount) - 1);
  for (int x = 0; x < width; ++x) {
    const int shift = 8 - bitCount * (x % perByte + 1);
    out[x] = static_cast<uint8_t>((in[x / perByte] >> shift) & mask);
  }
}

}  // namespace

int ReadBmpInfo(std::span<const uint8_t> file, PictureInfo& info) {
  BmpHeader h;
  if (!ReadHeader(file, h)) return kFailed;
  info = PictureInfo{};
  info.format = PictureInfo::kBmp;
  info.width = h.width;
  info.height = h.height;
  info.planes = h.planes;
  info.bitsPerPixel = h.bitCount;
  info.compression = h.compression == kBiRgb || h.compression == kBiBitfields ? static_cast<int>(h.compression) : -1;
  info.xDotsPerInch = DotsPerInch(h.xPelsPerMeter);
  info.yDotsPerInch = DotsPerInch(h.yPelsPerMeter);
  info.coloursUsed = h.coloursUsed;
  return kOk;
}

int DecodeBmp(std::span<const uint8_t> file, SkinDib& picture) {
  picture.Release();
  BmpHeader h;
  if (!ReadHeader(file, h)) return kFailed;
  const bool topDown = h.height < 0;
  const int64_t height = topDown ? -static_cast<int64_t>(h.height) : h.height;
  if (!IsPictureSizeAllowed(h.width, height) || h.planes != 1) return kFailed;
  if (h.compression != kBiRgb && !(h.compression == kBiBitfields && (h.bitCount == 16 || h.bitCount == 32)))
    return kFailed;

  int outBits = 0;
  switch (h.bitCount) {
    case 1: case 4: case 8: outBits = 8; break;
    case 16: case 24: outBits = 24; break;
    case 32: outBits = 32; break;
    default: return kFailed;
  }
  const int width = h.width;
  const size_t stride = ((static_cast<size_t>(width) * h.bitCount + 31) / 32) * 4;
  platform::ByteReader in(file);
  std::span<const uint8_t> pixels;
  if (!in.Skip(h.pixelOffset) || !in.Bytes(stride * static_cast<size_t>(height), pixels)) return kFailed;

  platform::BitmapInfo info = platform::MakeBitmapInfo(width, static_cast<int>(height), outBits);
  info.header.xPelsPerMeter = h.xPelsPerMeter;
  info.header.yPelsPerMeter = h.yPelsPerMeter;
  if (outBits == 8 && !ReadColourTable(file, h, info)) return kFailed;
  if (picture.Create(info) != SkinDib::kOk) return kFailed;

  if (h.compression == kBiRgb) {
    if (h.bitCount == 16) {
      h.masks[0] = 0x7C00;
      h.masks[1] = 0x03E0;
      h.masks[2] = 0x001F;
    } else if (h.bitCount == 32) {
      h.masks[0] = 0x00FF0000;
      h.masks[1] = 0x0000FF00;
      h.masks[2] = 0x000000FF;
    }
  }
  const MaskedChannel red(h.masks[0]), green(h.masks[1]), blue(h.masks[2]);
  const uint32_t colourMask = h.masks[0] | h.masks[1] | h.masks[2];
  const bool standard32 = h.masks[0] == 0x00FF0000 && h.masks[1] == 0x0000FF00 && h.masks[2] == 0x000000FF;

  for (int64_t fileRow = 0; fileRow < height; ++fileRow) {
    const uint8_t* src = pixels.data() + static_cast<size_t>(fileRow) * stride;
    uint8_t* out = picture.Row(static_cast<int>(topDown ? fileRow : height - 1 - fileRow));
    switch (h.bitCount) {
      case 1: case 4: case 8:
        ExpandIndices(src, out, width, h.bitCount);
        break;
      case 24:
        std::memcpy(out, src, static_cast<size_t>(width) * 3);
        break;
      case 16:
        for (int x = 0; x < width; ++x) {
          const uint32_t p = static_cast<uint32_t>(src[2 * x]) | static_cast<uint32_t>(src[2 * x + 1]) << 8;
          out[3 * x] = blue(p);
          out[3 * x + 1] = green(p);
          out[3 * x + 2] = red(p);
        }
        break;
      case 32:
        if (standard32) {
          std::memcpy(out, src, static_cast<size_t>(width) * 4);
          break;
        }
        for (int x = 0; x < width; ++x) {
          const uint8_t* q = src + 4 * x;
          const uint32_t p = static_cast<uint32_t>(q[0]) | static_cast<uint32_t>(q[1]) << 8 |
                             static_cast<uint32_t>(q[2]) << 16 | static_cast<uint32_t>(q[3]) << 24;
          out[4 * x] = blue(p);
          out[4 * x + 1] = green(p);
          out[4 * x + 2] = red(p);
          // Whatever the masks leave is the fourth byte.
          out[4 * x + 3] = static_cast<uint8_t>((p & ~colourMask) >> 24);
        }
        break;
    }
  }
  return kOk;
}

}  // namespace applet
