#include "applet/skin/jpeg_decoder.h"

// jpeglib.h needs the C library's declarations first.
#include <cstdio>
#include <jpeglib.h>

#include <csetjmp>

#include "applet/skin/picture_limits.h"

namespace applet {

namespace {

using picture_result::kFailed;
using picture_result::kOk;

// The library's error manager with a way back to the decoder.
struct JumpingErrorManager {
  jpeg_error_mgr library;
  std::jmp_buf back;
};

[[noreturn]] void JumpBack(j_common_ptr info) {
  auto* manager = reinterpret_cast<JumpingErrorManager*>(info->err);
  std::longjmp(manager->back, 1);
}

// Warnings and trace messages are dropped: a library prints nothing.
void Silent(j_common_ptr) {}
void SilentLevel(j_common_ptr, int) {}

int32_t PixelsPerMetre(unsigned density) {
  return density == 0 ? kDefaultPixelsPerMetre : static_cast<int32_t>(int64_t{density} * 100005 / 2541);
}

// Everything between the jump point and the end: no local needs a
// destructor, since a library error leaves this frame by a long jump.
int DecodeAfterJumpPoint(jpeg_decompress_struct& jpeg, std::span<const uint8_t> file, SkinDib& picture) {
  jpeg_mem_src(&jpeg, file.data(), static_cast<unsigned long>(file.size()));
  jpeg_read_header(&jpeg, TRUE);
  const bool grey = jpeg.num_components == 1 && jpeg.jpeg_color_space == JCS_GRAYSCALE;
  jpeg.out_color_space = grey ? JCS_GRAYSCALE : JCS_EXT_BGR;
  if (!IsPictureSizeAllowed(jpeg.image_width, jpeg.image_height)) return kFailed;

  platform::BitmapInfo info = platform::MakeBitmapInfo(static_cast<int>(jpeg.image_width),
                                                       static_cast<int>(jpeg.image_height), grey ? 8 : 24);
  info.header.xPelsPerMeter = PixelsPerMetre(jpeg.X_density);
  info.header.yPelsPerMeter = PixelsPerMetre(jpeg.Y_density);
  if (grey) {
    info.colors = platform::GreyColorTable();
    info.header.clrUsed = 256;
  }
  if (picture.Create(info) != SkinDib::kOk) return kFailed;

  jpeg_start_decompress(&jpeg);
  if (jpeg.output_width != jpeg.image_width || jpeg.output_height != jpeg.image_height) return kFailed;
  while (jpeg.output_scanline < jpeg.output_height) {
    JSAMPROW row = picture.Row(static_cast<int>(jpeg.output_scanline));
    jpeg_read_scanlines(&jpeg, &row, 1);
  }
  jpeg_finish_decompress(&jpeg);
  return kOk;
}

}  // namespace

int DecodeJpeg(std::span<const uint8_t> file, SkinDib& picture) {
  picture.Release();
  if (file.empty()) return kFailed;
  jpeg_decompress_struct jpeg{};
  JumpingErrorManager errors{};
  jpeg.err = jpeg_std_error(&errors.library);
  errors.library.error_exit = JumpBack;
  errors.library.output_message = Silent;
  errors.library.emit_message = SilentLevel;
  if (setjmp(errors.back) != 0) {
    jpeg_destroy_decompress(&jpeg);
    picture.Release();
    return kFailed;
  }
  jpeg_create_decompress(&jpeg);
  const int result = DecodeAfterJumpPoint(jpeg, file, picture);
  jpeg_destroy_decompress(&jpeg);
  if (result != kOk) picture.Release();
  return result;
}

}  // namespace applet
