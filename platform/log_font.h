#pragma once
// The logical-font record (LOGFONT) from which a font is made.
//
// height < 0: the character height (the em) in pixels, -height;
// height > 0: the cell height (ascent + descent) in pixels;
// height = 0: the default size (kDefaultFontHeight).
// A font size in points p at 96 logical pixels per inch is height
// -(96 * p) / 72. Weight, italic, underline, strike-out and the face name
// choose the font; the other fields are kept with it (GetObject gives them
// back) but do not change how it draws.

#include <cstdint>

#include "base/text.h"

namespace platform {

inline constexpr int kFwDontCare = 0;
inline constexpr int kFwNormal = 400;
inline constexpr int kFwSemiBold = 600;
inline constexpr int kFwBold = 700;

inline constexpr uint8_t kAnsiCharset = 0;
inline constexpr uint8_t kDefaultCharset = 1;
inline constexpr uint8_t kOemCharset = 255;

// Characters of a face name, the terminator not counted.
inline constexpr size_t kMaxFaceNameLength = 31;

// The size a height of 0 stands for: the character height of 9 points.
inline constexpr int kDefaultFontHeight = -12;

struct LogFont {
  int32_t height = 0;
  int32_t width = 0;
  int32_t escapement = 0;
  int32_t orientation = 0;
  int32_t weight = kFwDontCare;
  uint8_t italic = 0;
  uint8_t underline = 0;
  uint8_t strikeOut = 0;
  uint8_t charSet = kAnsiCharset;
  uint8_t outPrecision = 0;
  uint8_t clipPrecision = 0;
  uint8_t quality = 0;
  uint8_t pitchAndFamily = 0;
  WString faceName;  // longer names are cut to kMaxFaceNameLength

  bool operator==(const LogFont&) const = default;
};

}  // namespace platform
