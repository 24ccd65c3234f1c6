#pragma once
// Limits on what a picture file may ask for before anything is allocated for
// it: a stated size beyond kMaxPicturePixels, or a side beyond
// kMaxPictureSide, is refused by every decoder, and no picture file larger
// than kMaxPictureFileBytes is read.

#include <cstddef>
#include <cstdint>

namespace applet {

inline constexpr uint64_t kMaxPicturePixels = uint64_t{64} * 1024 * 1024;
inline constexpr int32_t kMaxPictureSide = 65535;
inline constexpr size_t kMaxPictureFileBytes = size_t{256} * 1024 * 1024;

// Whether a stated width and height may be decoded.
constexpr bool IsPictureSizeAllowed(int64_t width, int64_t height) {
  return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
         static_cast<uint64_t>(width) * static_cast<uint64_t>(height) <= kMaxPicturePixels;
}

}  // namespace applet
