#include "applet/skin/skin_image_file.h"

#include <array>
#include <string>

#include "applet/skin/bmp_decoder.h"
#include "applet/skin/gif_decoder.h"
#include "applet/skin/jpeg_decoder.h"
#include "applet/skin/picture_format.h"
#include "applet/skin/picture_limits.h"
#include "applet/skin/png_decoder.h"
#include "platform/file.h"

namespace applet {

namespace {

using picture_result::kFailed;
using picture_result::kOk;
using picture_result::kUnrecognised;

constexpr uint32_t kOpaqueMark = 0xFF000000;

uint32_t TransparentColourOf(const GifInfo& gif) {
  if (gif.transparentIndex < 0) return 0;
  const GifInfo::Colour& c = gif.colours[static_cast<size_t>(gif.transparentIndex)];
  return kOpaqueMark | static_cast<uint32_t>(c.red) << 16 | static_cast<uint32_t>(c.green) << 8 | c.blue;
}

int DecodeGif(std::span<const uint8_t> file, SkinDib& picture, PictureInfo& info) {
  GifInfo gif;
  const int read = ReadGifInfo(file, gif);
  if (read != GifInfo::kOk) return read;
  info.format = PictureInfo::kGif;
  info.width = gif.width;
  info.height = gif.height;
  info.bitsPerPixel = gif.bitsPerPixel;
  info.coloursUsed = gif.colourCount;
  info.transparentColour = TransparentColourOf(gif);

  platform::BitmapInfo header = platform::MakeBitmapInfo(gif.width, gif.height, 8);
  header.header.xPelsPerMeter = kDefaultPixelsPerMetre;
  header.header.yPelsPerMeter = kDefaultPixelsPerMetre;
  for (unsigned i = 0; i < gif.colourCount; ++i)
    header.colors[i] = {gif.colours[i].blue, gif.colours[i].green, gif.colours[i].red, 0};
  header.header.clrUsed = gif.colourCount == 0 ? platform::kMaxColorTableEntries : gif.colourCount;
  if (picture.Create(header) != SkinDib::kOk) return kFailed;
  const int decoded =
      DecodeGifPixels(file, gif, {picture.Row(0), picture.Height() > 1 ? picture.Row(1) - picture.Row(0) : 0});
  return decoded == GifInfo::kOk ? kOk : decoded;
}

// Makes the 8-bit picture 32 bits: each pixel the colour of its table
// entry, alpha 255 wherever that colour differs from the transparent one and
// 0 where it is that colour.
int ApplyTransparentColour(SkinDib& picture, uint32_t transparentColour) {
  SkinDib converted;
  platform::BitmapInfo info = platform::MakeBitmapInfo(picture.Width(), picture.Height(), 32);
  info.header.xPelsPerMeter = picture.Header().xPelsPerMeter;
  info.header.yPelsPerMeter = picture.Header().yPelsPerMeter;
  if (converted.Create(info) != SkinDib::kOk) return kFailed;
  // One 32-bit pixel per table entry, worked out once.
  std::array<uint32_t, platform::kMaxColorTableEntries> pixels{};
  const auto table = picture.Bitmap()->ColorTable();
  for (size_t i = 0; i < pixels.size(); ++i) {
    const platform::RgbQuad& q = table[i];
    const uint32_t colour = static_cast<uint32_t>(q.red) << 16 | static_cast<uint32_t>(q.green) << 8 | q.blue;
    const uint32_t alpha = (kOpaqueMark | colour) == transparentColour ? 0 : 255;
    pixels[i] = q.blue | static_cast<uint32_t>(q.green) << 8 | static_cast<uint32_t>(q.red) << 16 | alpha << 24;
  }
  const int width = picture.Width();
  for (int y = 0; y < picture.Height(); ++y) {
    const uint8_t* in = picture.Row(y);
    uint8_t* out = converted.Row(y);
    for (int x = 0; x < width; ++x, out += 4) {
      const uint32_t p = pixels[in[x]];
      out[0] = static_cast<uint8_t>(p);
      out[1] = static_cast<uint8_t>(p >> 8);
      out[2] = static_cast<uint8_t>(p >> 16);
      out[3] = static_cast<uint8_t>(p >> 24);
    }
  }
  picture = std::move(converted);
  return kOk;
}

}  // namespace

int LoadPictureBytes(std::span<const uint8_t> file, platform::WStringView path, SkinDib& picture,
                     PictureInfo* infoOut) {
  picture.Release();
  PictureInfo info;
  int result = kFailed;
  switch (SniffPicture(file, path)) {
    case PictureFormat::Unknown:
      return kUnrecognised;
    case PictureFormat::Bmp:
      result = ReadBmpInfo(file, info);
      if (result == kOk) result = DecodeBmp(file, picture);
      break;
    case PictureFormat::Gif:
      result = DecodeGif(file, picture, info);
      break;
    case PictureFormat::Png:
      // One pass of the library gives the information and the pixels.
      result = DecodePng(file, picture, &info);
      break;
    case PictureFormat::Jpeg:
      result = DecodeJpeg(file, picture);
      break;
    default:
      return kFailed;
  }
  if (result == kOk && info.transparentColour != 0) result = ApplyTransparentColour(picture, info.transparentColour);
  if (result != kOk) picture.Release();
  if (infoOut != nullptr) *infoOut = info;
  return result;
}

int LoadPictureFile(platform::WStringView path, SkinDib& picture, PictureInfo* info) {
  picture.Release();
  std::string bytes;
  if (platform::ReadDeviceFile(path, kMaxPictureFileBytes, bytes) != platform::kErrorSuccess) return kFailed;
  return LoadPictureBytes(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), path, picture,
                          info);
}

int SkinImageFile::Load(platform::WStringView path) {
  fileName_ = platform::WString(path);
  return LoadPictureFile(path, *this, &info_);
}

}  // namespace applet
