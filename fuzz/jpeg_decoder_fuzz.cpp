// Feeds arbitrary bytes to the JPEG decoder: it makes a picture of the
// engine's depths or fails with the picture empty, and never reads or writes
// outside its buffers.

#include <cstdint>

#include "applet/skin/jpeg_decoder.h"
#include "fuzz/picture_decoder_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz_support::CheckPictureDecoder(data, size, [](std::span<const uint8_t> file, applet::SkinDib& picture) {
    return applet::DecodeJpeg(file, picture);
  });
  return 0;
}
