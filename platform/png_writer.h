#pragma once
// Writing a bitmap as a PNG file (libpng), for screenshots and the skin
// tool. 8- and 24-bit bitmaps are written as 8-bit RGB; a 32-bit bitmap as
// RGB, or as RGBA with its fourth byte as alpha when asked.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/dib_section.h"

namespace platform {

enum class PngAlpha { Opaque, FromFourthByte };

// The PNG stream; nullopt (with *why) when libpng refuses.
std::optional<std::vector<uint8_t>> EncodePng(const DibSection& bitmap, PngAlpha alpha,
                                              std::string* why = nullptr);

// Writes the PNG to a host file, atomically.
bool WritePng(const DibSection& bitmap, const std::filesystem::path& path, PngAlpha alpha,
              std::string* why = nullptr);

}  // namespace platform
