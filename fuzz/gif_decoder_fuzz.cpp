// Feeds arbitrary bytes to the GIF decoder: the information step, then the
// LZW decoding into rows exactly as large as the stated image. No input may
// write outside them (the sanitizers watch), and the results stay within
// the decoder's set.

#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "applet/skin/gif_decoder.h"

namespace {

// Larger images are decoded by the loader too, but cost the fuzzer time.
constexpr size_t kMaxPixelsDecoded = size_t{4} * 1024 * 1024;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> file(data, size);
  applet::GifInfo info;
  const int read = applet::ReadGifInfo(file, info);
  if (read != applet::GifInfo::kOk) {
    if (read != applet::GifInfo::kUnknownVersion && read != applet::GifInfo::kMalformed &&
        read != applet::GifInfo::kTooLarge)
      std::abort();
    return 0;
  }
  if (info.width <= 0 || info.height <= 0 || info.colourCount > 256 || info.dataOffset > size) std::abort();
  const size_t pixels = static_cast<size_t>(info.width) * static_cast<size_t>(info.height);
  if (pixels > kMaxPixelsDecoded) return 0;
  // Bottom-up rows, as in a picture: the decoder walks them backwards.
  std::vector<uint8_t> rows(pixels);
  const int decoded = applet::DecodeGifPixels(
      file, info, {rows.data() + (info.height - 1) * static_cast<size_t>(info.width), -info.width});
  if (decoded != applet::GifInfo::kOk && decoded != applet::GifInfo::kMalformed) std::abort();
  return 0;
}
