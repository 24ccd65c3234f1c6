#pragma once
// Recognising a picture file by its first bytes (and, for fax files, by its
// name). Only BMP, GIF, JPEG and PNG are decoded; the other kinds are known
// so that they can be refused.

#include <cstddef>
#include <cstdint>
#include <span>

#include "base/text.h"

namespace applet {

enum class PictureFormat : int {
  CannotOpen = -1,
  Unknown = 0,
  Bmp = 1,
  Tiff = 2,  // "II"
  Pcx = 3,   // byte 0 is 10, byte 2 is 1
  Gif = 4,
  Jpeg = 5,
  Png = 6,
  Fax = 7,       // no signature; the name ends in T31, T42, T43, T44, T2C or T4C
  Wireless = 8,  // words 0x0106A9D6 and 513 at offsets 80 and 84
};

// How many leading bytes the tests look at.
inline constexpr size_t kPictureSniffBytes = 96;

// The format of a file whose first bytes are head (up to kPictureSniffBytes;
// fewer when the file is shorter) and whose path is path. The tests are made
// in the order of the enumeration above, with Fax last but one.
PictureFormat SniffPicture(std::span<const uint8_t> head, platform::WStringView path);

// The same for a device file; CannotOpen when it does not open.
PictureFormat SniffPictureFile(platform::WStringView path);

}  // namespace applet
