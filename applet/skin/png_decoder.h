#pragma once
// PNG pictures through libpng, read from the file's bytes in memory.
//
// Channels of 16 bits are cut to 8; a transparency chunk is expanded to an
// alpha channel; grey with alpha becomes colour; colour comes in the
// picture's blue-green-red order. The picture is 8 bits for palette and grey
// images (palette: the palette; grey of 1 bit: black and white; of 2 and 4
// bits: 16 grey levels 0, 17, ..., 255, 2-bit values standing at 0, 5, 10
// and 15 so that they show black, 85, 170 and white; of 8 bits: 256 levels),
// 24 bits for colour and 32 bits for colour with alpha. Pictures of fewer
// than 8 bits per pixel are kept one index per byte, the engine's pictures
// having 8 bits at least.
//
// libpng's errors come back as kFailed; nothing is printed.

#include <cstdint>
#include <span>

#include "applet/skin/picture_info.h"
#include "applet/skin/skin_dib.h"

namespace applet {

// The information step: width, height, pixel depth and resolution (dots per
// inch, 0 without a physical-size chunk in metres). kOk or kFailed.
int ReadPngInfo(std::span<const uint8_t> file, PictureInfo& info);

// kOk with picture made, or kFailed with picture empty. The information
// step's results go to info, when given, as soon as the header is read.
int DecodePng(std::span<const uint8_t> file, SkinDib& picture, PictureInfo* info = nullptr);

}  // namespace applet
