#pragma once
// Makes the element or font a section's type asks for.

#include <memory>

#include "applet/skin/skin_element.h"
#include "applet/skin/skin_font.h"
#include "applet/skin/skin_section_type.h"

namespace applet {

// A new, not yet loaded element of an element type; null for other types.
std::unique_ptr<SkinElement> MakeSkinElement(SkinSectionType type, platform::WString section);

// The font of a font section; null for other types.
std::unique_ptr<SkinFont> LoadSkinFont(SkinSectionType type, SkinDescription& description,
                                       platform::WStringView section);

}  // namespace applet
