#pragma once
// JPEG pictures through libjpeg-turbo, read from the file's bytes in memory.
// Greyscale files give an 8-bit picture with 256 grey levels, all others a
// 24-bit picture in blue-green-red order. The resolution is the file's
// densities * 100005 / 2541 pixels per metre, 5903 when a density is 0.
//
// A corrupt or unsupported file gives kFailed: the library's errors jump
// back to the decoder, which releases everything, and none of its messages
// is printed.

#include <cstdint>
#include <span>

#include "applet/skin/picture_info.h"
#include "applet/skin/skin_dib.h"

namespace applet {

// kOk with picture made, or kFailed with picture empty.
int DecodeJpeg(std::span<const uint8_t> file, SkinDib& picture);

}  // namespace applet
