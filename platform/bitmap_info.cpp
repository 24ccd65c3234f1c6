#include "platform/bitmap_info.h"

namespace platform {

BitmapInfo MakeBitmapInfo(int width, int height, int bitCount) {
  BitmapInfo info;
  info.header.width = width;
  info.header.height = height;
  info.header.planes = 1;
  info.header.bitCount = static_cast<uint16_t>(bitCount);
  info.header.compression = bitCount == 32 ? kBiBitfields : kBiRgb;
  return info;
}

std::array<RgbQuad, kMaxColorTableEntries> GreyColorTable() {
  std::array<RgbQuad, kMaxColorTableEntries> table{};
  for (size_t i = 0; i < table.size(); ++i) {
    const auto v = static_cast<uint8_t>(i);
    table[i] = RgbQuad{v, v, v, 0};
  }
  return table;
}

std::optional<size_t> DibRowStride(int width, int bitCount) {
  if (width <= 0 || width > kMaxDibSide) return std::nullopt;
  if (bitCount != 8 && bitCount != 24 && bitCount != 32) return std::nullopt;
  // Both factors are bounded, so the product cannot overflow.
  const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(bitCount / 8);
  return (bytes + 3) & ~size_t{3};
}

std::optional<size_t> DibImageSize(int width, int height, int bitCount) {
  if (height <= 0 || height > kMaxDibSide) return std::nullopt;
  const auto stride = DibRowStride(width, bitCount);
  if (!stride) return std::nullopt;
  if (*stride > kMaxDibBytes / static_cast<size_t>(height)) return std::nullopt;
  return *stride * static_cast<size_t>(height);
}

}  // namespace platform
