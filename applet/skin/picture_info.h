#pragma once
// What a picture file says about itself before it is decoded (the
// information step of BMP, GIF and PNG), and the load results every decoder
// shares.

#include <cstdint>

namespace applet {

namespace picture_result {
inline constexpr int kOk = 0;
inline constexpr int kUnrecognised = 1;  // also: a GIF of an unknown version
inline constexpr int kFailed = -1;       // unopenable, no decoder, failed decode, too large
inline constexpr int kMalformed = 255;   // GIF: bad signature or short read
}  // namespace picture_result

// Resolution a picture gets when its file gives none: 150 dots per inch.
inline constexpr int32_t kDefaultPixelsPerMetre = 5903;

struct PictureInfo {
  static constexpr int kBmp = 513;
  static constexpr int kGif = 516;
  static constexpr int kPng = 518;

  int format = 0;
  int32_t width = 0;
  int32_t height = 0;
  int bitsPerPixel = 0;
  int compression = 0;  // BMP: 0 none, 3 bit fields, -1 anything else
  int planes = 1;
  int32_t xDotsPerInch = 0;
  int32_t yDotsPerInch = 0;
  uint32_t coloursUsed = 0;
  // 0 when there is none, else 0xFF000000 + red * 65536 + green * 256 + blue.
  uint32_t transparentColour = 0;
};

// Pixels per metre to dots per inch, as the information steps convert.
constexpr int32_t DotsPerInch(int64_t pixelsPerMetre) {
  return static_cast<int32_t>(pixelsPerMetre * 2542 / 100000);
}

}  // namespace applet
