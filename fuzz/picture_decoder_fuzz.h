#pragma once
// The shared body of the BMP, PNG and JPEG fuzz targets: a decoder either
// makes a picture of the engine's depths or leaves it empty, and says which.

#include <cstdint>
#include <cstdlib>
#include <span>

#include "applet/skin/picture_info.h"
#include "applet/skin/skin_dib.h"

namespace fuzz_support {

template <typename Decode>
int CheckPictureDecoder(const uint8_t* data, size_t size, Decode decode) {
  applet::SkinDib picture;
  const int result = decode(std::span<const uint8_t>(data, size), picture);
  if (result == applet::picture_result::kOk) {
    const int depth = picture.BitCount();
    if (picture.IsEmpty() || (depth != 8 && depth != 24 && depth != 32)) std::abort();
    // Every row can be read to its end.
    uint32_t sum = 0;
    for (int y = 0; y < picture.Height(); ++y) sum += picture.Row(y)[picture.Width() * depth / 8 - 1];
    if (depth == 8 && picture.ColourTable().size() > 256) std::abort();
    return static_cast<int>(sum & 1);
  }
  if (result != applet::picture_result::kFailed || !picture.IsEmpty()) std::abort();
  return 0;
}

}  // namespace fuzz_support
