#pragma once
// A font the platform makes from a face name ("Font" and "FontGDI"
// sections):
//
//   FaceName    face name, "Tahoma"
//   font size   points, 9; used when pointSize is 0
//   pointSize   tenths of a point, 0
//   Bold, Italic, Underline   non-zero to set
//
// Its height is -(96 * pointSize / 720) pixels at the screen's 96 logical
// pixels per inch, bold is weight 700, the character set the default one.

#include <memory>

#include "applet/skin/skin_font.h"
#include "platform/font.h"

namespace applet {

class SkinGdiFont final : public SkinFont {
 public:
  static constexpr char16_t kDefaultFaceName[] = u"Tahoma";
  static constexpr int32_t kDefaultPoints = 9;

  struct Style {
    platform::WString faceName = kDefaultFaceName;
    int32_t points = kDefaultPoints;
    int32_t pointSize = 0;  // tenths of a point; 0: ten times points
    bool bold = false;
    bool italic = false;
    bool underline = false;
  };

  // Makes the platform font for the style.
  static std::unique_ptr<SkinGdiFont> Create(platform::WString name, Style style);

  // Only Create makes fonts.
  class Token {
    friend class SkinGdiFont;
    Token() = default;
  };
  SkinGdiFont(Token, platform::WString name, Style style, platform::LogFont logical,
              std::shared_ptr<const platform::Font> font);

  // The font of a section of the description.
  static std::unique_ptr<SkinGdiFont> FromSection(SkinDescription& description, platform::WStringView section);
  // The surface's fallback for unknown font names: "tahoma", 8.5 points.
  static std::unique_ptr<SkinGdiFont> DefaultFont();

  const Style& GetStyle() const { return style_; }
  const platform::LogFont& Logical() const { return logical_; }
  const std::shared_ptr<const platform::Font>& Handle() const { return font_; }

  SkinTextExtent DrawText(platform::WStringView text, int length, const platform::Rect& box, uint32_t format,
                          SkinColour colour, SkinDib* target) const override;
  SkinTextExtent Measure(platform::WStringView text) const override;
  bool Fits(platform::WStringView text, const platform::Rect& rect, uint32_t format) const override;

 private:
  Style style_;
  platform::LogFont logical_;
  std::shared_ptr<const platform::Font> font_;
};

}  // namespace applet
