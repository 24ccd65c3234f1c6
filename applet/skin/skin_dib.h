#pragma once
// An offscreen picture of the skin engine: a DIB section of 8, 24 or 32 bits
// with its header and colour table, whose pixels the engine works on
// directly. Every picture of a skin (a cut from an image file, an element's
// own rendering, the whole window) is one.
//
// Pixels: 8 bits index the colour table; 24 bits are blue, green, red; 32
// bits are blue, green, red, alpha, colour not premultiplied (alpha 255
// opaque, 0 transparent). Coordinates are top-down (y = 0 is the top row)
// although the rows lie bottom-up in memory.
//
// The operations that combine pictures return the engine's small result
// codes: 0 done, 3 a depth the operation does not take, 4 a block outside a
// picture (or a picture without pixels), -1 a picture that could not be made.

#include <cstdint>
#include <memory>
#include <span>

#include "platform/bitmap_info.h"
#include "platform/dib_section.h"

namespace applet {

class SkinDib {
 public:
  static constexpr int kOk = 0;
  static constexpr int kFailed = -1;
  static constexpr int kBadDepth = 3;
  static constexpr int kOutside = 4;

  SkinDib();
  virtual ~SkinDib();
  SkinDib(SkinDib&&) noexcept;
  SkinDib& operator=(SkinDib&&) noexcept;
  SkinDib(const SkinDib&) = delete;
  SkinDib& operator=(const SkinDib&) = delete;

  // Makes a zeroed picture, replacing any previous one. On failure the user
  // is shown the picture-creation message, the picture is empty and the
  // result is kFailed.
  int Create(int width, int height, int bitCount);
  // The same from a full description (decoders: colour table, resolution).
  int Create(const platform::BitmapInfo& info);
  void Release();

  bool IsEmpty() const { return bitmap_ == nullptr; }
  int Width() const { return bitmap_ ? bitmap_->Width() : 0; }
  int Height() const { return bitmap_ ? bitmap_->Height() : 0; }
  int BitCount() const { return bitmap_ ? bitmap_->BitCount() : 0; }
  platform::Rect Bounds() const { return {0, 0, Width(), Height()}; }

  const platform::BitmapInfoHeader& Header() const { return header_; }
  // The colour table as the header's colours used say (8 bits).
  std::span<const platform::RgbQuad> ColourTable() const;
  const std::shared_ptr<platform::DibSection>& Bitmap() const { return bitmap_; }

  // Row y from the top; y must be inside the picture.
  uint8_t* Row(int y) { return bitmap_->Row(y); }
  const uint8_t* Row(int y) const { return bitmap_->Row(y); }

  // Every byte of every row set to 255.
  void FillWhite();
  // Every pixel's alpha (32 bits only).
  void SetAlpha(uint8_t alpha);
  // Copies the entries and records their count as the colours used; more
  // than 256 entries are refused.
  bool SetColourTable(std::span<const platform::RgbQuad> entries);

  // Copies pixel for pixel the block of this picture's size whose top-left
  // corner is (x, y) in source; both have the same depth (8, 24 or 32), and
  // an 8-bit source gives its colour table too. False, nothing copied, for
  // different depths or a block that does not lie wholly in the source.
  bool CopyBlock(const SkinDib& source, int x, int y);

  // Makes this picture a copy of the source block of width x height at
  // (x, y), of the source's depth and, for 8 bits, with its colour table.
  // False, the picture empty, when the block is empty or does not lie
  // wholly in the source.
  bool CreateCut(const SkinDib& source, int x, int y, int width, int height);

  // Places the source block of width x height at (sx, sy) at (x, y) in this
  // picture (the engine's single blit; the rules by depth are in the .cpp).
  // The block is cut to the part that lies in the source. kBadDepth for a
  // source of another depth than 8, 24 or 32; kOutside when the block does
  // not fit this picture or either has no pixels.
  int Compose(int x, int y, int width, int height, const SkinDib& source, int sx, int sy);

  // Blends the whole 32-bit source onto this 24-bit picture at (x, y), cut
  // at this picture's right and bottom edges. kBadDepth for other depths,
  // kOutside when (x, y) is outside this picture.
  int BlendWhole(const SkinDib& source, int x, int y);

  // Remakes the picture at the new size filled with copies of the old one
  // repeated across and down from the top-left. kBadDepth for a depth other
  // than 8, 24 or 32; kFailed, the old picture kept, when the new one cannot
  // be made.
  int TileToSize(int width, int height);

  // Remakes the picture at a greater depth (24 or 32) by having the platform
  // copy it; 32 bits start with alpha 0. kFailed, the old picture kept, for
  // a depth that is not greater or a picture that cannot be made.
  int Convert(int bitCount);

 private:
  int Adopt(std::shared_ptr<platform::DibSection> bitmap, const platform::BitmapInfo& info);

  std::shared_ptr<platform::DibSection> bitmap_;
  platform::BitmapInfoHeader header_{};
};

}  // namespace applet
