#pragma once
// Icons of a compiled resource file. An icon is a group-icon resource, its
// directory, naming one icon-image resource per size and colour depth:
//
//   offset  size  field (little-endian)
//   0       2     reserved, 0
//   2       2     type, 1 for icons
//   4       2     count of entries
//   6       14*n  entries:
//                   0  1  width in pixels (0 means 256)
//                   1  1  height in pixels (0 means 256)
//                   2  1  colour count (0 for 256 colours or more)
//                   3  1  reserved
//                   4  2  planes
//                   6  2  bits per pixel (0: see the image itself)
//                   8  4  bytes of the image
//                   12 2  number of the icon-image resource
//
// Each image resource is a device-independent bitmap (a BITMAPINFOHEADER,
// the colour bits and the transparency mask, the height counted twice) or
// a PNG stream; the bytes are handed out as they are.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/resource_file.h"

namespace platform {

// The handheld's icon sizes (its system metrics for large and small icons)
// and the colour depth of its display.
inline constexpr int kLargeIconSize = 32;
inline constexpr int kSmallIconSize = 16;
inline constexpr int kDisplayBitCount = 16;

// More images than any icon holds; bounds the directory.
inline constexpr size_t kMaxIconImages = 256;

struct IconDirectoryEntry {
  int width = 0;
  int height = 0;
  int colorCount = 0;
  int planes = 0;
  int bitCount = 0;
  uint32_t bytesInRes = 0;
  uint16_t imageId = 0;
};

// Reads a group-icon directory. Fails (with *why) when it is cut short,
// is not of the icon type, or lists no image or too many.
bool ParseIconDirectory(std::span<const uint8_t> data, std::vector<IconDirectoryEntry>& out,
                        std::string* why);

// The bits per pixel of an image: the directory's value, or when that is 0,
// the one in the image's own header (a bitmap header, or 32 for PNG).
int EffectiveBitCount(const IconDirectoryEntry& entry, std::span<const uint8_t> image);

// The best image for a square icon of `size` pixels on a display of
// `maxBitCount` bits per pixel. The nearest size wins (the sum of the width
// and height differences); between two equally near sizes the larger one,
// which shrinks better than the smaller one grows. Among those, the deepest
// colour the display shows, or, when every image is deeper than the display,
// the shallowest. Remaining ties go to the earlier entry. bitCounts gives
// each entry's effective depth. Returns the entry's index.
size_t ChooseIconImage(std::span<const IconDirectoryEntry> entries, std::span<const int> bitCounts,
                       int size, int maxBitCount);

struct IconImage {
  int width = 0;
  int height = 0;
  int bitCount = 0;
  uint16_t imageId = 0;
  std::vector<uint8_t> bytes;
};

enum class IconLookup {
  Found,
  NoIcons,          // the file holds no group icon
  IndexOutOfRange,  // fewer group icons than the index asks for
  Malformed,        // the directory does not parse or names a missing image
};

// The number of icons (group icons) in the file.
size_t IconCount(const ResourceFile& file);

// The best image (see ChooseIconImage) of the index-th icon, counted in the
// order a loaded library enumerates its icons. out is filled only on Found.
IconLookup ExtractIcon(const ResourceFile& file, size_t index, int size, int maxBitCount,
                       IconImage& out);

// Checks that every group icon's directory parses and that every image it
// names exists; the first fault is described in *error.
bool CheckIcons(const ResourceFile& file, ResourceFileError* error);

}  // namespace platform
