#include "applet/skin/skin_element_factory.h"

#include "applet/skin/skin_bitmap_font.h"
#include "applet/skin/skin_button_element.h"
#include "applet/skin/skin_gdi_font.h"
#include "applet/skin/skin_image_element.h"
#include "applet/skin/skin_multistate_element.h"
#include "applet/skin/skin_shape_elements.h"
#include "applet/skin/skin_text_element.h"

namespace applet {

std::unique_ptr<SkinElement> MakeSkinElement(SkinSectionType type, platform::WString section) {
  switch (type) {
    case SkinSectionType::Image: return std::make_unique<SkinImageElement>(std::move(section));
    case SkinSectionType::Button: return std::make_unique<SkinButtonElement>(std::move(section));
    case SkinSectionType::Switch: return std::make_unique<SkinSwitchElement>(std::move(section));
    case SkinSectionType::Multistate: return std::make_unique<SkinMultistateElement>(std::move(section));
    case SkinSectionType::Slider: return std::make_unique<SkinSliderElement>(std::move(section));
    case SkinSectionType::Text: return std::make_unique<SkinTextElement>(std::move(section));
    case SkinSectionType::Link: return std::make_unique<SkinLinkElement>(std::move(section));
    case SkinSectionType::Chrono: return std::make_unique<SkinChronoElement>(std::move(section));
    case SkinSectionType::Edit: return std::make_unique<SkinEditElement>(std::move(section));
    case SkinSectionType::MultiLine: return std::make_unique<SkinMultiLineElement>(std::move(section));
    case SkinSectionType::Line: return std::make_unique<SkinLineElement>(std::move(section));
    case SkinSectionType::Rect: return std::make_unique<SkinRectElement>(std::move(section));
    case SkinSectionType::GradientRect: return std::make_unique<SkinGradientRectElement>(std::move(section));
    case SkinSectionType::DualGradientRect:
      return std::make_unique<SkinDualGradientRectElement>(std::move(section));
    case SkinSectionType::None:
    case SkinSectionType::FontGdi:
    case SkinSectionType::FontBitmap:
      break;
  }
  return nullptr;
}

std::unique_ptr<SkinFont> LoadSkinFont(SkinSectionType type, SkinDescription& description,
                                       platform::WStringView section) {
  if (type == SkinSectionType::FontGdi) return SkinGdiFont::FromSection(description, section);
  if (type == SkinSectionType::FontBitmap) return SkinBitmapFont::FromSection(description, section);
  return nullptr;
}

}  // namespace applet
