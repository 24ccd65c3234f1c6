#include "applet/skin/skin_section_type.h"

#include <algorithm>

#include "applet/device/sectioned_text_reader.h"

namespace applet {

namespace {

struct TypeEntry {
  platform::WStringView name;
  SkinSectionType type;
  int32_t kind;
};

constexpr TypeEntry kTypes[] = {
    {u"image", SkinSectionType::Image, skin_kind::kImage},
    {u"button", SkinSectionType::Button, skin_kind::kButton},
    {u"switch", SkinSectionType::Switch, skin_kind::kSwitch},
    {u"multistate", SkinSectionType::Multistate, skin_kind::kMultistate},
    {u"slider", SkinSectionType::Slider, skin_kind::kSlider},
    {u"text", SkinSectionType::Text, skin_kind::kText},
    {u"link", SkinSectionType::Link, skin_kind::kLink},
    {u"chrono", SkinSectionType::Chrono, skin_kind::kChrono},
    {u"edit", SkinSectionType::Edit, skin_kind::kEdit},
    {u"MultiLine", SkinSectionType::MultiLine, skin_kind::kMultiLine},
    {u"Line", SkinSectionType::Line, skin_kind::kLine},
    {u"Rect", SkinSectionType::Rect, skin_kind::kRect},
    {u"GradientRect", SkinSectionType::GradientRect, skin_kind::kGradientRect},
    {u"DualGradientRect", SkinSectionType::DualGradientRect, skin_kind::kDualGradientRect},
    {u"FontGDI", SkinSectionType::FontGdi, 0},
    {u"Font", SkinSectionType::FontGdi, 0},
    {u"FontBitmap", SkinSectionType::FontBitmap, 0},
};

const TypeEntry* Find(SkinSectionType type) {
  auto it = std::find_if(std::begin(kTypes), std::end(kTypes),
                         [&](const TypeEntry& e) { return e.type == type; });
  return it == std::end(kTypes) ? nullptr : &*it;
}

}  // namespace

SkinSectionType ParseSkinSectionType(platform::WStringView typeName) {
  if (typeName.empty()) return SkinSectionType::None;
  for (const TypeEntry& e : kTypes)
    if (SectionedTextReader::KeysEqual(e.name, typeName)) return e.type;
  return SkinSectionType::None;
}

int32_t SkinKindCode(SkinSectionType type) {
  const TypeEntry* e = Find(type);
  return e == nullptr ? 0 : e->kind;
}

bool IsSkinFontType(SkinSectionType type) {
  return type == SkinSectionType::FontGdi || type == SkinSectionType::FontBitmap;
}

bool IsSkinElementType(SkinSectionType type) {
  return type != SkinSectionType::None && !IsSkinFontType(type);
}

bool IsSkinTextType(SkinSectionType type) {
  switch (type) {
    case SkinSectionType::Text:
    case SkinSectionType::Link:
    case SkinSectionType::Chrono:
    case SkinSectionType::Edit:
    case SkinSectionType::MultiLine:
      return true;
    default:
      return false;
  }
}

platform::WStringView SkinSectionTypeName(SkinSectionType type) {
  const TypeEntry* e = Find(type);
  return e == nullptr ? platform::WStringView() : e->name;
}

}  // namespace applet
