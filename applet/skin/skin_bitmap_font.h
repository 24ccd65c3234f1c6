#pragma once
// A font whose glyphs are cut from an 8-bit picture ("FontBitmap" sections,
// "File" always in the description's folder). The picture's bottom row holds
// the markers: each pixel of value 255 marks the first column of the next
// glyph, for the character codes 32, 33, ... in order, at most 225 of them
// (codes 32 to 256). A glyph runs from its marker to the next one; the
// glyph of the last marker runs to the picture's right edge. The rows above
// the marker row are the glyphs' pixels: 0 ink, 255 paper.
//
// Characters are taken in the device's OEM code page; a code without a
// glyph (below 32, or beyond the last marker) draws nothing and takes no
// room. A picture that is not 8 bits, or one with more than 225 markers,
// gives no glyph table and the font draws nothing.

#include <array>
#include <memory>
#include <optional>

#include "applet/skin/skin_font.h"
#include "applet/skin/skin_image_file.h"

namespace applet {

class SkinBitmapFont final : public SkinFont {
 public:
  static constexpr int kFirstCode = 32;
  static constexpr int kLastCode = 256;
  static constexpr int kMaxMarkers = kLastCode - kFirstCode + 1;  // 225
  static constexpr uint8_t kMarker = 255;

  // Takes the glyph picture; builds the glyph table when the picture allows.
  SkinBitmapFont(platform::WString name, SkinImageFile glyphs);

  static std::unique_ptr<SkinBitmapFont> FromSection(SkinDescription& description, platform::WStringView section);

  bool HasGlyphTable() const { return starts_.has_value(); }
  // Columns [first, second) of a character code's glyph; empty for codes
  // without one.
  std::pair<int, int> GlyphColumns(int code) const;
  // Rows of glyph pixels: all rows above the marker row.
  int GlyphRows() const;

  // Glyphs go from the box's left edge, bottom-aligned, each as many rows as
  // fit the box height less one; drawing stops at the first glyph that would
  // pass the target's right edge. The format is not used.
  SkinTextExtent DrawText(platform::WStringView text, int length, const platform::Rect& box, uint32_t format,
                          SkinColour colour, SkinDib* target) const override;
  // The sum of the glyphs' widths and the glyph rows.
  SkinTextExtent Measure(platform::WStringView text) const override;
  // Always no.
  bool Fits(platform::WStringView text, const platform::Rect& rect, uint32_t format) const override;

 private:
  SkinImageFile glyphs_;
  // Start column of the glyphs of codes 32 to 256, and the end of the last.
  std::optional<std::array<int, kMaxMarkers + 1>> starts_;
};

}  // namespace applet
