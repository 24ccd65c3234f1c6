#include "platform/dib_section.h"

#include <limits>
#include <new>

namespace platform {

namespace {

// The byte of a 32-bit pixel a mask selects, or -1 when the mask is not one
// whole byte.
int MaskByte(uint32_t mask) {
  for (int i = 0; i < 4; ++i) {
    if (mask == 0xFFu << (8 * i)) return i;
  }
  return -1;
}

ErrorCode Refuse(ErrorCode code, ErrorCode* error) {
  if (error != nullptr) *error = code;
  return code;
}

}  // namespace

std::shared_ptr<DibSection> DibSection::Create(int width, int height, int bitCount,
                                               ErrorCode* error) {
  return Create(MakeBitmapInfo(width, height, bitCount), error);
}

std::shared_ptr<DibSection> DibSection::Create(const BitmapInfo& info, ErrorCode* error) {
  const BitmapInfoHeader& h = info.header;
  if (error != nullptr) *error = kErrorSuccess;
  if (h.size != sizeof(BitmapInfoHeader) || h.planes != 1 || h.width <= 0 || h.height == 0 ||
      h.height == std::numeric_limits<int32_t>::min()) {
    Refuse(kErrorInvalidParameter, error);
    return nullptr;
  }
  const int bitCount = h.bitCount;
  const int height = h.height < 0 ? -h.height : h.height;
  if (h.width > kMaxDibSide || height > kMaxDibSide || !DibRowStride(h.width, bitCount)) {
    Refuse(kErrorInvalidParameter, error);
    return nullptr;
  }
  const bool bitFields = h.compression == kBiBitfields;
  if (h.compression != kBiRgb && !(bitFields && bitCount == 32)) {
    Refuse(kErrorInvalidParameter, error);
    return nullptr;
  }
  if (bitCount == 8 && h.clrUsed > kMaxColorTableEntries) {
    Refuse(kErrorInvalidParameter, error);
    return nullptr;
  }

  auto dib = std::make_shared<DibSection>(Token{});
  if (bitFields) {
    dib->redByte_ = MaskByte(info.masks.red);
    dib->greenByte_ = MaskByte(info.masks.green);
    dib->blueByte_ = MaskByte(info.masks.blue);
    if (dib->redByte_ < 0 || dib->greenByte_ < 0 || dib->blueByte_ < 0 ||
        dib->redByte_ == dib->greenByte_ || dib->redByte_ == dib->blueByte_ ||
        dib->greenByte_ == dib->blueByte_) {
      Refuse(kErrorInvalidParameter, error);
      return nullptr;
    }
    dib->masks_ = info.masks;
  }

  const auto size = DibImageSize(h.width, height, bitCount);
  if (!size) {
    Refuse(kErrorNotEnoughMemory, error);
    return nullptr;
  }
  try {
    dib->bits_.assign(*size, 0);
  } catch (const std::bad_alloc&) {
    Refuse(kErrorNotEnoughMemory, error);
    return nullptr;
  }

  dib->header_ = h;
  dib->header_.sizeImage = static_cast<uint32_t>(*size);
  dib->width_ = h.width;
  dib->height_ = height;
  dib->bitCount_ = bitCount;
  dib->topDown_ = h.height < 0;
  dib->stride_ = *DibRowStride(h.width, bitCount);
  dib->imageSize_ = *size;
  if (bitCount == 8) {
    dib->colorsUsed_ = h.clrUsed == 0 ? kMaxColorTableEntries : h.clrUsed;
    dib->header_.clrUsed = dib->colorsUsed_;
    for (unsigned i = 0; i < dib->colorsUsed_; ++i) dib->colors_[i] = info.colors[i];
  } else {
    dib->header_.clrUsed = 0;
  }
  return dib;
}

uint8_t* DibSection::Row(int y) {
  const size_t row = topDown_ ? static_cast<size_t>(y) : static_cast<size_t>(height_ - 1 - y);
  return bits_.data() + row * stride_;
}

const uint8_t* DibSection::Row(int y) const { return const_cast<DibSection*>(this)->Row(y); }

unsigned DibSection::SetColorTable(unsigned start, std::span<const RgbQuad> entries) {
  if (bitCount_ != 8 || start >= colorsUsed_) return 0;
  unsigned written = 0;
  for (unsigned i = start; i < colorsUsed_ && written < entries.size(); ++i, ++written) {
    colors_[i] = entries[written];
  }
  return written;
}

ColorRef DibSection::PixelColor(int x, int y) const {
  const uint8_t* row = Row(y);
  switch (bitCount_) {
    case 8: {
      const RgbQuad& q = colors_[row[x]];
      return Rgb(q.red, q.green, q.blue);
    }
    case 24: {
      const uint8_t* p = row + static_cast<size_t>(x) * 3;
      return Rgb(p[2], p[1], p[0]);
    }
    default: {
      const uint8_t* p = row + static_cast<size_t>(x) * 4;
      return Rgb(p[redByte_], p[greenByte_], p[blueByte_]);
    }
  }
}

void DibSection::SetPixelColor(int x, int y, ColorRef color) {
  uint8_t* row = Row(y);
  switch (bitCount_) {
    case 8:
      row[x] = NearestIndex(color);
      break;
    case 24: {
      uint8_t* p = row + static_cast<size_t>(x) * 3;
      p[0] = BlueOf(color);
      p[1] = GreenOf(color);
      p[2] = RedOf(color);
      break;
    }
    default: {
      uint8_t* p = row + static_cast<size_t>(x) * 4;
      p[blueByte_] = BlueOf(color);
      p[greenByte_] = GreenOf(color);
      p[redByte_] = RedOf(color);
      break;
    }
  }
}

uint8_t DibSection::NearestIndex(ColorRef color) const {
  int best = 0;
  long bestDistance = std::numeric_limits<long>::max();
  for (unsigned i = 0; i < colorsUsed_; ++i) {
    const RgbQuad& q = colors_[i];
    const long dr = long{q.red} - RedOf(color);
    const long dg = long{q.green} - GreenOf(color);
    const long db = long{q.blue} - BlueOf(color);
    const long d = dr * dr + dg * dg + db * db;
    if (d < bestDistance) {
      bestDistance = d;
      best = static_cast<int>(i);
      if (d == 0) break;
    }
  }
  return static_cast<uint8_t>(best);
}

}  // namespace platform
