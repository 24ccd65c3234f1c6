#include "applet/skin/skin_gdi_font.h"

#include <algorithm>

#include "applet/skin/skin_description.h"
#include "platform/device_context.h"

namespace applet {

using platform::WString;
using platform::WStringView;

namespace {

constexpr int32_t kWeightBold = 700;
constexpr int32_t kTenthsPerPoint = 10;
// Height of a size in tenths of a point: points/72 of an inch, ten times.
constexpr int32_t kTenthsOfPointsPerInch = 720;

constexpr WStringView kDefaultFontFace = u"tahoma";
constexpr int32_t kDefaultFontPointSize = 85;

platform::LogFont MakeLogFont(const SkinGdiFont::Style& style) {
  platform::LogFont lf;
  const int32_t pointSize = style.pointSize != 0 ? style.pointSize : kTenthsPerPoint * style.points;
  lf.height = (platform::kLogicalPixelsPerInch * pointSize) / -kTenthsOfPointsPerInch;
  lf.weight = style.bold ? kWeightBold : 0;
  lf.italic = style.italic ? 1 : 0;
  lf.underline = style.underline ? 1 : 0;
  lf.charSet = platform::kDefaultCharset;
  lf.faceName = style.faceName;
  return lf;
}

// A memory context with the font selected and black ink on a transparent
// background.
std::unique_ptr<platform::DeviceContext> TextContext(const std::shared_ptr<const platform::Font>& font) {
  auto dc = std::make_unique<platform::DeviceContext>();
  if (font) dc->SelectFont(font);
  dc->SetTextColor(platform::Rgb(0, 0, 0));
  dc->SetBkMode(platform::kTransparent);
  return dc;
}

// Each target pixel takes the colour, and alpha from the mask's paper (255,
// none) to its ink (0, full).
void ColourFromMask(const SkinDib& mask, SkinColour colour, SkinDib& target) {
  if (target.BitCount() != 32) return;
  const int width = std::min(mask.Width(), target.Width());
  const int height = std::min(mask.Height(), target.Height());
  for (int y = 0; y < height; ++y) {
    const uint8_t* in = mask.Row(y);
    uint8_t* out = target.Row(y);
    for (int x = 0; x < width; ++x, out += 4) {
      out[0] = SkinBlue(colour);
      out[1] = SkinGreen(colour);
      out[2] = SkinRed(colour);
      out[3] = static_cast<uint8_t>(255 - in[x]);
    }
  }
}

}  // namespace

SkinGdiFont::SkinGdiFont(Token, WString name, Style style, platform::LogFont logical,
                         std::shared_ptr<const platform::Font> font)
    : SkinFont(std::move(name)), style_(std::move(style)), logical_(std::move(logical)), font_(std::move(font)) {}

std::unique_ptr<SkinGdiFont> SkinGdiFont::Create(WString name, Style style) {
  platform::LogFont logical = MakeLogFont(style);
  auto font = platform::Font::Create(logical);
  return std::make_unique<SkinGdiFont>(Token(), std::move(name), std::move(style), std::move(logical),
                                       std::move(font));
}

std::unique_ptr<SkinGdiFont> SkinGdiFont::FromSection(SkinDescription& description, WStringView section) {
  Style style;
  style.faceName = description.Text(section, u"FaceName", kDefaultFaceName);
  style.points = description.Int(section, u"font size", kDefaultPoints);
  style.pointSize = description.Int(section, u"pointSize", 0);
  style.bold = description.Int(section, u"Bold", 0) != 0;
  style.italic = description.Int(section, u"Italic", 0) != 0;
  style.underline = description.Int(section, u"Underline", 0) != 0;
  return Create(WString(section), std::move(style));
}

std::unique_ptr<SkinGdiFont> SkinGdiFont::DefaultFont() {
  Style style;
  style.faceName = WString(kDefaultFontFace);
  style.pointSize = kDefaultFontPointSize;
  return Create(WString(), std::move(style));
}

SkinTextExtent SkinGdiFont::DrawText(WStringView text, int length, const platform::Rect& box, uint32_t format,
                                     SkinColour colour, SkinDib* target) const {
  text = SkinTextPart(text, length);
  const int width = box.Width();
  const int height = box.Height();
  if (width <= 0 || height <= 0) return {};
  SkinDib mask;
  if (mask.Create(width, height, 8) != SkinDib::kOk) return {};
  mask.SetColourTable(platform::GreyColorTable());
  mask.FillWhite();
  auto dc = TextContext(font_);
  dc->SelectBitmap(mask.Bitmap());

  SkinTextExtent extent;
  if ((format & text_format::kWordBreak) != 0) {
    platform::Rect area{0, 0, width, height};
    extent.height = dc->DrawText(text, area, format);
    platform::Rect measured{0, 0, width, height};
    dc->DrawText(text, measured, format | text_format::kCalcRect);
    extent.width = measured.Width();
  } else {
    // Broken by characters: as many as fit the width on each line.
    WStringView rest = text;
    int top = 0;
    while (!rest.empty()) {
      int fit = 0;
      platform::Size lineSize;
      if (!dc->GetTextExtentExPoint(rest, width, &fit, nullptr, &lineSize) || fit <= 0) break;
      const WStringView line = rest.substr(0, static_cast<size_t>(fit));
      platform::Size shown;
      dc->GetTextExtentPoint(line, &shown);
      if ((format & text_format::kCalcRect) == 0) {
        platform::Rect area{0, top, width, height};
        dc->DrawText(line, area, format);
      }
      extent.width = std::max(extent.width, shown.cx);
      top += lineSize.cy;
      rest = rest.substr(line.size());
    }
    extent.height = top;
  }
  if (target != nullptr) ColourFromMask(mask, colour, *target);
  return extent;
}

SkinTextExtent SkinGdiFont::Measure(WStringView text) const {
  platform::Size size;
  if (!TextContext(font_)->GetTextExtentPoint(text, &size)) return {};
  return {size.cx, size.cy};
}

bool SkinGdiFont::Fits(WStringView text, const platform::Rect& rect, uint32_t format) const {
  return DrawText(text, -1, rect, format | text_format::kCalcRect, 0, nullptr).height <= rect.Height();
}

}  // namespace applet
