#include "applet/skin/png_decoder.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstring>
#include <vector>

#include "applet/skin/picture_limits.h"

namespace applet {

namespace {

using picture_result::kFailed;
using picture_result::kOk;

// The signature bytes the sniffer has already looked at.
constexpr size_t kSignatureBytesChecked = 4;
constexpr png_uint_32 kMaxPngSide = static_cast<png_uint_32>(kMaxPictureSide);

struct MemorySource {
  std::span<const uint8_t> bytes;
  size_t position = 0;
};

void ReadFromMemory(png_structp png, png_bytep out, size_t length) {
  auto* source = static_cast<MemorySource*>(png_get_io_ptr(png));
  if (length > source->bytes.size() - source->position) png_error(png, "read past the end of the file");
  std::memcpy(out, source->bytes.data() + source->position, length);
  source->position += length;
}

[[noreturn]] void JumpBack(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void IgnoreWarning(png_structp, png_const_charp) {}

// libpng's read and information structures, released on every path.
class PngReader {
 public:
  explicit PngReader(std::span<const uint8_t> file) : source_{file} {
    png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, JumpBack, IgnoreWarning);
    if (png_ == nullptr) return;
    info_ = png_create_info_struct(png_);
    end_ = png_create_info_struct(png_);
  }
  ~PngReader() { png_destroy_read_struct(&png_, &info_, &end_); }
  PngReader(const PngReader&) = delete;
  PngReader& operator=(const PngReader&) = delete;

  bool Ready() const {
    return png_ != nullptr && info_ != nullptr && end_ != nullptr &&
           source_.bytes.size() >= kSignatureBytesChecked &&
           std::memcmp(source_.bytes.data(), "\x89PNG", kSignatureBytesChecked) == 0;
  }
  png_structp Png() { return png_; }
  png_infop Info() { return info_; }
  png_infop End() { return end_; }

  // Starts reading after the signature bytes already checked; call inside
  // the setjmp scope.
  void Start() {
    source_.position = kSignatureBytesChecked;
    png_set_read_fn(png_, &source_, ReadFromMemory);
    png_set_sig_bytes(png_, static_cast<int>(kSignatureBytesChecked));
    png_set_user_limits(png_, kMaxPngSide, kMaxPngSide);
    png_read_info(png_, info_);
  }

 private:
  MemorySource source_;
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
  png_infop end_ = nullptr;
};

int32_t PixelsPerMetre(png_structp png, png_infop info, bool x) {
  png_uint_32 resX = 0, resY = 0;
  int unit = 0;
  if (png_get_pHYs(png, info, &resX, &resY, &unit) == 0 || unit != PNG_RESOLUTION_METER) return 0;
  return static_cast<int32_t>(std::min<png_uint_32>(x ? resX : resY, INT32_MAX));
}

void FillGreyTable(platform::BitmapInfo& info, int bitDepth) {
  const unsigned levels = bitDepth == 1 ? 2 : bitDepth == 8 ? 256 : 16;
  const unsigned stepSize = 255 / (levels - 1);
  for (unsigned i = 0; i < levels; ++i) {
    const auto v = static_cast<uint8_t>(i * stepSize);
    info.colors[i] = {v, v, v, 0};
  }
  info.header.clrUsed = levels;
}

// 2-bit grey values 0-3 stand at 0, 5, 10, 15 of the 16-level table. Eight
// pixels are widened at once: no byte exceeds 3, so no product carries into
// its neighbour.
void WidenTwoBitGrey(SkinDib& picture) {
  const size_t width = static_cast<size_t>(picture.Width());
  for (int y = 0; y < picture.Height(); ++y) {
    uint8_t* row = picture.Row(y);
    size_t x = 0;
    for (; x + 8 <= width; x += 8) {
      uint64_t eight;
      std::memcpy(&eight, row + x, 8);
      eight *= 5;
      std::memcpy(row + x, &eight, 8);
    }
    for (; x < width; ++x) row[x] = static_cast<uint8_t>(row[x] * 5);
  }
}

// What the information step reports, from the header the reader has read.
void FillInfo(png_structp png, png_infop header, PictureInfo& info) {
  info = PictureInfo{};
  info.format = PictureInfo::kPng;
  info.width = static_cast<int32_t>(png_get_image_width(png, header));
  info.height = static_cast<int32_t>(png_get_image_height(png, header));
  info.bitsPerPixel = png_get_bit_depth(png, header) * png_get_channels(png, header);
  info.xDotsPerInch = DotsPerInch(PixelsPerMetre(png, header, true));
  info.yDotsPerInch = DotsPerInch(PixelsPerMetre(png, header, false));
}

}  // namespace

int ReadPngInfo(std::span<const uint8_t> file, PictureInfo& info) {
  PngReader reader(file);
  if (!reader.Ready()) return kFailed;
  if (setjmp(png_jmpbuf(reader.Png())) != 0) return kFailed;
  reader.Start();
  FillInfo(reader.Png(), reader.Info(), info);
  return kOk;
}

namespace {

// The decoding proper, between the jump point set by DecodePng and libpng's
// errors: no local here needs a destructor, since an error leaves this frame
// by a long jump. What must be released lives in the caller.
int DecodeAfterJumpPoint(PngReader& reader, SkinDib& picture, std::vector<png_bytep>& rows, PictureInfo* infoOut) {
  reader.Start();
  png_structp png = reader.Png();
  png_infop info = reader.Info();
  if (infoOut != nullptr) FillInfo(png, info, *infoOut);
  const png_uint_32 width = png_get_image_width(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  if (!IsPictureSizeAllowed(width, height)) return kFailed;
  const int bitDepth = png_get_bit_depth(png, info);
  const int colourType = png_get_color_type(png, info);

  png_set_strip_16(png);
  const bool hasTransparency = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
  if (hasTransparency) png_set_expand(png);
  if (colourType == PNG_COLOR_TYPE_GRAY_ALPHA || (colourType == PNG_COLOR_TYPE_GRAY && hasTransparency))
    png_set_gray_to_rgb(png);
  png_set_bgr(png);
  png_set_packing(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);

  const int depth = 8 * png_get_channels(png, info);
  if (depth != 8 && depth != 24 && depth != 32) return kFailed;
  platform::BitmapInfo header = platform::MakeBitmapInfo(static_cast<int>(width), static_cast<int>(height), depth);
  const int32_t xppm = PixelsPerMetre(png, info, true);
  const int32_t yppm = PixelsPerMetre(png, info, false);
  header.header.xPelsPerMeter = xppm != 0 ? xppm : kDefaultPixelsPerMetre;
  header.header.yPelsPerMeter = yppm != 0 ? yppm : kDefaultPixelsPerMetre;
  const bool isPalette = depth == 8 && png_get_color_type(png, info) == PNG_COLOR_TYPE_PALETTE;
  if (isPalette) {
    png_colorp palette = nullptr;
    int count = 0;
    if (png_get_PLTE(png, info, &palette, &count) == 0 || count < 0 ||
        count > static_cast<int>(platform::kMaxColorTableEntries))
      return kFailed;
    for (int i = 0; i < count; ++i) header.colors[i] = {palette[i].blue, palette[i].green, palette[i].red, 0};
    header.header.clrUsed = static_cast<uint32_t>(count);
  } else if (depth == 8) {
    FillGreyTable(header, bitDepth);
  }
  if (picture.Create(header) != SkinDib::kOk) return kFailed;

  // Rows bottom-up in memory: the picture's Row gives each image row's place.
  rows.resize(height);
  for (png_uint_32 y = 0; y < height; ++y) rows[y] = picture.Row(static_cast<int>(y));
  png_read_image(png, rows.data());
  png_read_end(png, reader.End());
  if (depth == 8 && !isPalette && bitDepth == 2) WidenTwoBitGrey(picture);
  return kOk;
}

}  // namespace

int DecodePng(std::span<const uint8_t> file, SkinDib& picture, PictureInfo* info) {
  picture.Release();
  PngReader reader(file);
  if (!reader.Ready()) return kFailed;
  std::vector<png_bytep> rows;
  if (setjmp(png_jmpbuf(reader.Png())) != 0) {
    picture.Release();
    return kFailed;
  }
  const int result = DecodeAfterJumpPoint(reader, picture, rows, info);
  if (result != kOk) picture.Release();
  return result;
}

}  // namespace applet
