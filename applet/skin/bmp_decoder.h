#pragma once
// BMP pictures (Windows and OS/2 bitmap files), decoded into a picture of
// the engine's depths:
//
//   file header, 14 bytes   "BM", file size u32, two reserved u16, offset of
//                           the pixels u32
//   information header      size u32, then for 12 (old style): width u16,
//                           height u16, planes u16, bits u16; for 40 or more:
//                           width i32, height i32 (< 0 rows top-down),
//                           planes u16, bits u16, compression u32, image size
//                           u32, resolution x, y i32 (pixels per metre),
//                           colours used u32, colours important u32, and in
//                           headers of 52 bytes or more the red, green and
//                           blue masks
//   [masks]                 three u32 after a 40-byte header with bit fields
//   [colour table]          up to 256 entries of blue, green, red (and a
//                           reserved byte, except after an old-style header)
//   pixels                  rows of 4-byte multiples, bottom-up unless the
//                           height is negative
//
// 1, 4 and 8 bits give an 8-bit picture with the colour table; 24 bits a
// 24-bit one; 16 bits (5-5-5, or bit fields) a 24-bit one; 32 bits (plain,
// or bit fields) a 32-bit one with the fourth byte as alpha. Compressed
// (run-length) files, colour tables of more than 256 entries, sizes beyond
// the picture limits and pixel data cut short are refused.

#include <cstdint>
#include <span>

#include "applet/skin/picture_info.h"
#include "applet/skin/skin_dib.h"

namespace applet {

// The information step: kOk, or kFailed for a file too short for its headers.
int ReadBmpInfo(std::span<const uint8_t> file, PictureInfo& info);

// kOk with picture made, or kFailed with picture empty.
int DecodeBmp(std::span<const uint8_t> file, SkinDib& picture);

}  // namespace applet
