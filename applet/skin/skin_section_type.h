#pragma once
// The section types of a skin description: what each "type" value creates
// and the kind code that elements carry so that owners can tell them apart.
// Type names are compared as keys are (SectionedTextReader::KeysEqual).

#include <cstdint>

#include "base/text.h"

namespace applet {

enum class SkinSectionType {
  None,  // empty or unknown "type": the section creates nothing
  Image,
  Button,
  Switch,
  Multistate,
  Slider,
  Text,
  Link,
  Chrono,
  Edit,
  MultiLine,
  Line,
  Rect,
  GradientRect,
  DualGradientRect,
  FontGdi,
  FontBitmap,
};

// Kind codes of the elements ("MultiLine" and "Line" share 10).
namespace skin_kind {
inline constexpr int32_t kButton = 1;
inline constexpr int32_t kChrono = 2;
inline constexpr int32_t kEdit = 3;
inline constexpr int32_t kGradientRect = 7;
inline constexpr int32_t kImage = 9;
inline constexpr int32_t kMultiLine = 10;
inline constexpr int32_t kLine = 10;
inline constexpr int32_t kLink = 11;
inline constexpr int32_t kMultistate = 13;
inline constexpr int32_t kRect = 14;
inline constexpr int32_t kSlider = 16;
inline constexpr int32_t kSwitch = 17;
inline constexpr int32_t kText = 18;
inline constexpr int32_t kDualGradientRect = 20;
}  // namespace skin_kind

SkinSectionType ParseSkinSectionType(platform::WStringView typeName);

// The kind code of an element type; 0 for None and the font types.
int32_t SkinKindCode(SkinSectionType type);

bool IsSkinFontType(SkinSectionType type);
bool IsSkinElementType(SkinSectionType type);
// "text", "link", "chrono", "edit" and "MultiLine": the kinds with a text box.
bool IsSkinTextType(SkinSectionType type);

// The type's name as descriptions write it ("FontGDI" for both GDI names).
platform::WStringView SkinSectionTypeName(SkinSectionType type);

}  // namespace applet
