#include "platform/png_writer.h"

#include <png.h>

#include <cstring>

#include "base/host_file.h"

namespace platform {

namespace {

// The pixels top row first, as 8-bit R, G, B (and A).
std::vector<uint8_t> PackedPixels(const DibSection& bitmap, bool withAlpha) {
  const size_t channels = withAlpha ? 4 : 3;
  const int width = bitmap.Width();
  const int height = bitmap.Height();
  std::vector<uint8_t> out(static_cast<size_t>(width) * height * channels);
  uint8_t* p = out.data();
  // The fourth byte is the one no colour mask names.
  const ColorMasks& masks = bitmap.Masks();
  const uint32_t alphaMask = ~(masks.red | masks.green | masks.blue);
  int alphaByte = 3;
  for (int i = 0; i < 4; ++i) {
    if (alphaMask == 0xFFu << (8 * i)) alphaByte = i;
  }
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = bitmap.Row(y);
    for (int x = 0; x < width; ++x) {
      const ColorRef c = bitmap.PixelColor(x, y);
      *p++ = RedOf(c);
      *p++ = GreenOf(c);
      *p++ = BlueOf(c);
      if (withAlpha) *p++ = row[static_cast<size_t>(x) * 4 + alphaByte];
    }
  }
  return out;
}

}  // namespace

std::optional<std::vector<uint8_t>> EncodePng(const DibSection& bitmap, PngAlpha alpha,
                                              std::string* why) {
  const bool withAlpha = alpha == PngAlpha::FromFourthByte && bitmap.BitCount() == 32;
  const std::vector<uint8_t> pixels = PackedPixels(bitmap, withAlpha);

  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(bitmap.Width());
  image.height = static_cast<png_uint_32>(bitmap.Height());
  image.format = withAlpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;

  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr)) {
    if (why != nullptr) *why = image.message;
    png_image_free(&image);
    return std::nullopt;
  }
  std::vector<uint8_t> out(size);
  if (!png_image_write_to_memory(&image, out.data(), &size, 0, pixels.data(), 0, nullptr)) {
    if (why != nullptr) *why = image.message;
    png_image_free(&image);
    return std::nullopt;
  }
  out.resize(size);
  return out;
}

bool WritePng(const DibSection& bitmap, const std::filesystem::path& path, PngAlpha alpha,
              std::string* why) {
  const auto png = EncodePng(bitmap, alpha, why);
  if (!png) return false;
  return WriteHostFileAtomically(
      path, std::string_view(reinterpret_cast<const char*>(png->data()), png->size()), why);
}

}  // namespace platform
