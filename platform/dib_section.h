#pragma once
// A DIB section: a device-independent bitmap of 8, 24 or 32 bits whose pixel
// memory the program addresses directly and that a device context can draw
// into (CreateDIBSection). The object owns its pixel memory; it lives as long
// as the last holder of its shared pointer (a device context that has it
// selected keeps it alive).
//
// Pixels: 8 bits is an index into the colour table; 24 bits is blue, green,
// red; 32 bits is blue, green, red and a fourth byte in the places the masks
// say (the handheld's masks give blue, green, red, alpha in memory order).
// The fourth byte is the caller's: the drawing calls write colour only and
// leave it as it was, except a copy between two 32-bit bitmaps, which copies
// it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/bitmap_info.h"
#include "platform/drawing_types.h"
#include "base/errors.h"

namespace platform {

class DibSection {
 public:
  // Makes a bitmap from the description; the pixel memory starts zeroed.
  // Refused with kErrorInvalidParameter: a header size other than 40, a zero
  // width or height, a side beyond kMaxDibSide, planes other than 1, a depth
  // other than 8, 24 or 32, a compression other than plain (or bit fields at
  // 32 bits), masks that are not three different whole bytes of the pixel,
  // more than 256 colours used. Refused with kErrorNotEnoughMemory: pixel
  // data beyond kMaxDibBytes, or memory that cannot be had. Returns null on
  // refusal with the code in *error.
  static std::shared_ptr<DibSection> Create(const BitmapInfo& info, ErrorCode* error = nullptr);
  // The same for a plain bitmap (see MakeBitmapInfo).
  static std::shared_ptr<DibSection> Create(int width, int height, int bitCount,
                                            ErrorCode* error = nullptr);

  // Only Create makes bitmaps.
  class Token {
    friend class DibSection;
    Token() = default;
  };
  explicit DibSection(Token) {}
  DibSection(const DibSection&) = delete;
  DibSection& operator=(const DibSection&) = delete;

  int Width() const { return width_; }
  int Height() const { return height_; }  // always positive
  int BitCount() const { return bitCount_; }
  bool IsTopDown() const { return topDown_; }
  size_t Stride() const { return stride_; }
  Rect Bounds() const { return {0, 0, width_, height_}; }

  // The header as the bitmap was made (height sign kept; size of the pixel
  // data and, for 8 bits, colours used filled in).
  const BitmapInfoHeader& Header() const { return header_; }
  const ColorMasks& Masks() const { return masks_; }

  // The pixel memory, first byte first (the bottom row for a bottom-up
  // bitmap).
  uint8_t* Bits() { return bits_.data(); }
  const uint8_t* Bits() const { return bits_.data(); }
  size_t ImageSize() const { return imageSize_; }

  // The row at y counted from the top of the picture; y must be in range.
  uint8_t* Row(int y);
  const uint8_t* Row(int y) const;

  // The colour table (8 bits): 256 entries, those beyond ColorsUsed() zero.
  std::span<const RgbQuad> ColorTable() const { return colors_; }
  unsigned ColorsUsed() const { return colorsUsed_; }
  // SetDIBColorTable: writes entries from start on, no further than the
  // colours used; returns the count written (0 for bitmaps above 8 bits).
  unsigned SetColorTable(unsigned start, std::span<const RgbQuad> entries);

  // One pixel as a colour (8 bits through the colour table); the fourth byte
  // of 32 bits is not part of it. Coordinates must be inside.
  ColorRef PixelColor(int x, int y) const;
  // Writes a colour (8 bits: the nearest colour-table entry), leaving the
  // fourth byte of 32 bits alone.
  void SetPixelColor(int x, int y, ColorRef color);
  // The colour-table index nearest to a colour (squared distance; the first
  // of equally near entries).
  uint8_t NearestIndex(ColorRef color) const;

 private:
  BitmapInfoHeader header_;
  ColorMasks masks_;
  std::array<RgbQuad, kMaxColorTableEntries> colors_{};
  unsigned colorsUsed_ = 0;
  int width_ = 0;
  int height_ = 0;
  int bitCount_ = 0;
  bool topDown_ = false;
  size_t stride_ = 0;
  size_t imageSize_ = 0;
  // Where each channel sits within a 32-bit pixel (byte index).
  int redByte_ = 2;
  int greenByte_ = 1;
  int blueByte_ = 0;
  std::vector<uint8_t> bits_;
};

}  // namespace platform
