#include "applet/skin/skin_dib.h"

#include <algorithm>
#include <cstring>

#include "applet/skin/skin_message.h"
#include "platform/device_context.h"

namespace applet {

namespace {

using platform::RgbQuad;

int BytesPerPixel(int bitCount) { return bitCount / 8; }

bool IsSkinDepth(int bitCount) { return bitCount == 8 || bitCount == 24 || bitCount == 32; }

// Integer blends of the engine; every division truncates.
inline uint8_t BlendOver24(uint8_t target, uint8_t source, unsigned alpha) {
  return static_cast<uint8_t>(((255 - alpha) * target + alpha * source) / 255);
}

// Source over target with straight (not premultiplied) alpha.
inline void SourceOver(const uint8_t* s, uint8_t* t) {
  const unsigned sa = s[3];
  const unsigned ta = t[3];
  const unsigned a = sa * ta / 255;
  const unsigned b = sa + ta - a;
  if (b != 0) {
    const unsigned divisor = b * 255;
    for (int c = 0; c < 3; ++c) t[c] = static_cast<uint8_t>((s[c] * sa * 255 + t[c] * ta * (255 - sa)) / divisor);
  }
  t[3] = static_cast<uint8_t>(b);
}

// One row of a block from a source of the given depth onto a 24- or 32-bit
// target row.
void ComposeRow(const uint8_t* in, int sourceBits, std::span<const RgbQuad> table, uint8_t* out,
                int targetBits, int width) {
  if (targetBits == 24) {
    switch (sourceBits) {
      case 8:
        for (int i = 0; i < width; ++i, out += 3) {
          const RgbQuad& q = table[in[i]];
          out[0] = q.blue;
          out[1] = q.green;
          out[2] = q.red;
        }
        return;
      case 24:
        std::memcpy(out, in, static_cast<size_t>(width) * 3);
        return;
      case 32:
        for (int i = 0; i < width; ++i, in += 4, out += 3) {
          const unsigned a = in[3];
          if (a == 0) continue;
          out[0] = BlendOver24(out[0], in[0], a);
          out[1] = BlendOver24(out[1], in[1], a);
          out[2] = BlendOver24(out[2], in[2], a);
        }
        return;
    }
  } else if (targetBits == 32) {
    // Opaque sources come out half transparent: alpha 128.
    switch (sourceBits) {
      case 8:
        for (int i = 0; i < width; ++i, out += 4) {
          const RgbQuad& q = table[in[i]];
          out[0] = q.blue;
          out[1] = q.green;
          out[2] = q.red;
          out[3] = 128;
        }
        return;
      case 24:
        for (int i = 0; i < width; ++i, in += 3, out += 4) {
          out[0] = in[0];
          out[1] = in[1];
          out[2] = in[2];
          out[3] = 128;
        }
        return;
      case 32:
        for (int i = 0; i < width; ++i, in += 4, out += 4) SourceOver(in, out);
        return;
    }
  }
}

}  // namespace

SkinDib::SkinDib() = default;
SkinDib::~SkinDib() = default;
SkinDib::SkinDib(SkinDib&&) noexcept = default;
SkinDib& SkinDib::operator=(SkinDib&&) noexcept = default;

int SkinDib::Create(int width, int height, int bitCount) {
  return Create(platform::MakeBitmapInfo(width, height, bitCount));
}

int SkinDib::Create(const platform::BitmapInfo& info) {
  Release();
  std::shared_ptr<platform::DibSection> bitmap = platform::DibSection::Create(info);
  if (bitmap == nullptr || bitmap->Bits() == nullptr) {
    ShowSkinMessage(PictureCreationMessage(info.header.width, info.header.height, info.header.bitCount));
    return kFailed;
  }
  return Adopt(std::move(bitmap), info);
}

int SkinDib::Adopt(std::shared_ptr<platform::DibSection> bitmap, const platform::BitmapInfo& info) {
  header_ = bitmap->Header();
  header_.xPelsPerMeter = info.header.xPelsPerMeter;
  header_.yPelsPerMeter = info.header.yPelsPerMeter;
  bitmap_ = std::move(bitmap);
  return kOk;
}

void SkinDib::Release() {
  bitmap_.reset();
  header_ = platform::BitmapInfoHeader{};
}

std::span<const RgbQuad> SkinDib::ColourTable() const {
  if (bitmap_ == nullptr || BitCount() != 8) return {};
  const unsigned used = header_.clrUsed == 0 ? platform::kMaxColorTableEntries : header_.clrUsed;
  return bitmap_->ColorTable().first(std::min<size_t>(used, platform::kMaxColorTableEntries));
}

void SkinDib::FillWhite() {
  if (bitmap_ == nullptr || !IsSkinDepth(BitCount())) return;
  std::memset(bitmap_->Bits(), 0xFF, bitmap_->ImageSize());
}

void SkinDib::SetAlpha(uint8_t alpha) {
  if (bitmap_ == nullptr || BitCount() != 32) return;
  for (int y = 0; y < Height(); ++y) {
    uint8_t* p = Row(y);
    for (int x = 0; x < Width(); ++x) p[4 * x + 3] = alpha;
  }
}

bool SkinDib::SetColourTable(std::span<const RgbQuad> entries) {
  if (bitmap_ == nullptr || entries.size() > platform::kMaxColorTableEntries) return false;
  bitmap_->SetColorTable(0, entries);
  header_.clrUsed = static_cast<uint32_t>(entries.size());
  return true;
}

bool SkinDib::CopyBlock(const SkinDib& source, int x, int y) {
  if (IsEmpty() || source.IsEmpty() || source.BitCount() != BitCount() || !IsSkinDepth(BitCount()))
    return false;
  if (x < 0 || y < 0 || x > source.Width() - Width() || y > source.Height() - Height()) return false;
  const size_t offset = static_cast<size_t>(x) * BytesPerPixel(BitCount());
  const size_t bytes = static_cast<size_t>(Width()) * BytesPerPixel(BitCount());
  for (int row = 0; row < Height(); ++row) std::memcpy(Row(row), source.Row(y + row) + offset, bytes);
  if (BitCount() == 8) SetColourTable(source.ColourTable());
  return true;
}

bool SkinDib::CreateCut(const SkinDib& source, int x, int y, int width, int height) {
  Release();
  if (source.IsEmpty() || width <= 0 || height <= 0 || x < 0 || y < 0 || x > source.Width() - width ||
      y > source.Height() - height)
    return false;
  if (Create(width, height, source.BitCount()) != kOk) return false;
  return CopyBlock(source, x, y);
}

int SkinDib::Compose(int x, int y, int width, int height, const SkinDib& source, int sx, int sy) {
  if (!IsSkinDepth(source.BitCount()) && !source.IsEmpty()) return kBadDepth;
  if (IsEmpty() || source.IsEmpty()) return kOutside;
  if (x < 0 || y < 0 || width < 0 || height < 0 || x > Width() - width || y > Height() - height)
    return kOutside;
  // Only the part of the block that lies in the source is placed.
  if (sx < 0) {
    width += sx;
    x -= sx;
    sx = 0;
  }
  if (sy < 0) {
    height += sy;
    y -= sy;
    sy = 0;
  }
  width = std::min(width, source.Width() - sx);
  height = std::min(height, source.Height() - sy);
  if (width <= 0 || height <= 0) return kOk;
  const int targetBits = BitCount();
  if (targetBits != 24 && targetBits != 32) return kOk;

  const int sourceBits = source.BitCount();
  const std::span<const RgbQuad> table = source.bitmap_->ColorTable();
  const size_t sourceOffset = static_cast<size_t>(sx) * BytesPerPixel(sourceBits);
  const size_t targetOffset = static_cast<size_t>(x) * BytesPerPixel(targetBits);
  for (int row = 0; row < height; ++row)
    ComposeRow(source.Row(sy + row) + sourceOffset, sourceBits, table, Row(y + row) + targetOffset,
               targetBits, width);
  return kOk;
}

int SkinDib::BlendWhole(const SkinDib& source, int x, int y) {
  if (BitCount() != 24 || source.BitCount() != 32) return kBadDepth;
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return kOutside;
  const int width = std::min(source.Width(), Width() - x);
  const int height = std::min(source.Height(), Height() - y);
  for (int row = 0; row < height; ++row)
    ComposeRow(source.Row(row), 32, {}, Row(y + row) + static_cast<size_t>(x) * 3, 24, width);
  return kOk;
}

int SkinDib::TileToSize(int width, int height) {
  if (IsEmpty() || !IsSkinDepth(BitCount())) return kBadDepth;
  platform::BitmapInfo info;
  info.header = header_;
  info.header.width = width;
  info.header.height = height;
  info.header.sizeImage = 0;
  const auto table = ColourTable();
  std::copy(table.begin(), table.end(), info.colors.begin());
  std::shared_ptr<platform::DibSection> tiled = platform::DibSection::Create(info);
  if (tiled == nullptr) {
    ShowSkinMessage(PictureCreationMessage(width, height, BitCount()));
    return kFailed;
  }
  const size_t pixel = static_cast<size_t>(BytesPerPixel(BitCount()));
  const size_t oldBytes = static_cast<size_t>(Width()) * pixel;
  const size_t newBytes = static_cast<size_t>(width) * pixel;
  for (int row = 0; row < height; ++row) {
    const uint8_t* in = Row(row % Height());
    uint8_t* out = tiled->Row(row);
    for (size_t done = 0; done < newBytes; done += oldBytes)
      std::memcpy(out + done, in, std::min(oldBytes, newBytes - done));
  }
  return Adopt(std::move(tiled), info);
}

int SkinDib::Convert(int bitCount) {
  if (IsEmpty() || (bitCount != 24 && bitCount != 32) || bitCount <= BitCount()) return kFailed;
  platform::BitmapInfo info = platform::MakeBitmapInfo(Width(), Height(), bitCount);
  info.header.xPelsPerMeter = header_.xPelsPerMeter;
  info.header.yPelsPerMeter = header_.yPelsPerMeter;
  std::shared_ptr<platform::DibSection> converted = platform::DibSection::Create(info);
  if (converted == nullptr) {
    ShowSkinMessage(PictureCreationMessage(Width(), Height(), bitCount));
    return kFailed;
  }
  platform::DeviceContext from, to;
  from.SelectBitmap(bitmap_);
  to.SelectBitmap(converted);
  to.BitBlt(0, 0, Width(), Height(), from, 0, 0);
  return Adopt(std::move(converted), info);
}

}  // namespace applet
