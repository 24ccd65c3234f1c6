#pragma once
// GIF pictures (87a and 89a), decoded by the program itself: only the first
// image of a file, as 8-bit indices into its colour table.
//
//   "GIF" "87a"|"89a"                     signature and version
//   logical screen descriptor, 7 bytes:    width u16, height u16, flags u8
//                                          (0x80 global table, low three
//                                          bits: table of 2^(n+1) entries),
//                                          background index u8, aspect u8
//   [global colour table: r, g, b per entry]
//   blocks, one byte introducing each:
//     '!' label sub-blocks... 0           extension; label 0xF9 (graphic
//                                          control) with bit 0 of its first
//                                          byte set names a transparent
//                                          index in its fourth byte
//     ',' image descriptor, 9 bytes:       left, top, width, height (u16),
//                                          flags (0x80 local table, 0x40
//                                          interlaced, low three bits size)
//         [local colour table]
//         minimum code size u8, LZW data in sub-blocks, 0
//     ';'                                  end of the file
//     anything else                        skipped
//
// Decoding never writes outside the picture's rows, the code stack or the
// dictionary: a first code that is no pixel, a chain of codes longer than
// the stack or one that loops back on itself ends the image early, and rows
// that received no data keep what they held (zeros in a new picture).

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace applet {

struct GifInfo {
  // Results of the information step and of decoding (the values the image
  // loader passes on).
  static constexpr int kOk = 0;
  static constexpr int kUnknownVersion = 1;
  static constexpr int kMalformed = 255;  // bad signature, short read, no image
  static constexpr int kTooLarge = -1;    // a stated size beyond the picture limits

  struct Colour {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
  };

  int width = 0;   // of the first image
  int height = 0;
  // The low three bits of the global colour table's size field, plus one.
  int bitsPerPixel = 0;
  // The table the image uses (its local one, else the global one).
  std::array<Colour, 256> colours{};
  unsigned colourCount = 0;
  int transparentIndex = -1;  // none
  bool interlaced = false;
  // Offset of the image's minimum code size byte.
  size_t dataOffset = 0;
};

// Parses a whole file up to the first image's data. kOk, kUnknownVersion,
// kMalformed or kTooLarge.
int ReadGifInfo(std::span<const uint8_t> file, GifInfo& info);

// Where decoded rows go: row y (from the top) starts at top + y * step.
struct GifRowTarget {
  uint8_t* top;
  ptrdiff_t step;
};

// Decodes the first image's LZW data (info from ReadGifInfo on the same
// bytes) into info.width x info.height bytes of rows. kOk, also when the
// data ends early or turns corrupt; kMalformed when the minimum code size is
// missing or outside 1 to 8.
int DecodeGifPixels(std::span<const uint8_t> file, const GifInfo& info, GifRowTarget rows);

}  // namespace applet
