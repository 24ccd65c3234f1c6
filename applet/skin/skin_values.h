#pragma once
// The value forms of a skin description and their parsing.
//
//   integer      digits only (SectionedTextReader::GetInt)
//   pair         "x, y": tokens separated by any run of commas and blanks,
//                each read as a signed decimal (trailing non-digits ignored,
//                no digits give 0, a missing token gives 0)
//   rectangle    "left, top, right, bottom", tokens as for a pair; right and
//                bottom are exclusive
//   colour       "r, g, b", tokens as for a pair, each cut to its low 8 bits;
//                stored as r + 256 g + 65536 b
//   text format  flag names ("CENTER|VCENTER+SINGLELINE") looked up exactly,
//                in upper case; unknown names are ignored
//
// A pair or rectangle of kMaxPairTextLength characters or more, and a text
// format of kMaxTextFormatLength or more, counts as absent.

#include <cstdint>
#include <vector>

#include "platform/drawing_types.h"
#include "base/text.h"

namespace applet {

// Pairs and rectangles are the platform's drawing types; a rectangle's right
// and bottom are exclusive.
using SkinPoint = platform::Point;
using SkinRect = platform::Rect;

// A colour as the platform's drawing takes it: red in the low byte.
using SkinColour = platform::ColorRef;

constexpr SkinColour SkinRgb(uint8_t r, uint8_t g, uint8_t b) {
  return static_cast<SkinColour>(r) | (static_cast<SkinColour>(g) << 8) | (static_cast<SkinColour>(b) << 16);
}
constexpr uint8_t SkinRed(SkinColour c) { return static_cast<uint8_t>(c); }
constexpr uint8_t SkinGreen(SkinColour c) { return static_cast<uint8_t>(c >> 8); }
constexpr uint8_t SkinBlue(SkinColour c) { return static_cast<uint8_t>(c >> 16); }

// The platform's text-drawing flags that a text format may name, and the
// measuring flag the engine adds itself.
namespace text_format {
inline constexpr uint32_t kLeft = 0x000;
inline constexpr uint32_t kTop = 0x000;
inline constexpr uint32_t kCenter = 0x001;
inline constexpr uint32_t kRight = 0x002;
inline constexpr uint32_t kVCenter = 0x004;
inline constexpr uint32_t kBottom = 0x008;
inline constexpr uint32_t kWordBreak = 0x010;
inline constexpr uint32_t kSingleLine = 0x020;
inline constexpr uint32_t kExternalLeading = 0x200;
inline constexpr uint32_t kCalcRect = 0x400;
inline constexpr uint32_t kNoPrefix = 0x800;
}  // namespace text_format

inline constexpr size_t kMaxPairTextLength = 100;
inline constexpr size_t kMaxTextFormatLength = 256;

// False (and the point 0, 0) for an empty value or one that is too long.
bool ParseSkinPair(platform::WStringView text, SkinPoint& out);
// False (and the empty rectangle) for an empty value or one that is too long.
bool ParseSkinRect(platform::WStringView text, SkinRect& out);
// False (colour untouched) for an empty value.
bool ParseSkinColour(platform::WStringView text, SkinColour& out);

// The or-ed flags of the names in text; 0 for a text that is too long.
// Names not in the table are passed to unknown, when given.
uint32_t ParseTextFormat(platform::WStringView text,
                         std::vector<platform::WString>* unknownNames = nullptr);

}  // namespace applet
