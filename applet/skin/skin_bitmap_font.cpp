#include "applet/skin/skin_bitmap_font.h"

#include <algorithm>

#include "applet/skin/skin_description.h"
#include "platform/oem_code_page.h"

namespace applet {

using platform::WString;
using platform::WStringView;

SkinBitmapFont::SkinBitmapFont(WString name, SkinImageFile glyphs)
    : SkinFont(std::move(name)), glyphs_(std::move(glyphs)) {
  if (glyphs_.IsEmpty() || glyphs_.BitCount() != 8 || glyphs_.Height() < 1) return;
  const int width = glyphs_.Width();
  const uint8_t* markerRow = glyphs_.Row(glyphs_.Height() - 1);
  std::array<int, kMaxMarkers + 1> starts;
  int markers = 0;
  for (int x = 0; x < width; ++x) {
    if (markerRow[x] != kMarker) continue;
    if (markers == kMaxMarkers) return;  // more than the table holds
    starts[static_cast<size_t>(markers++)] = x;
  }
  // The last glyph runs to the right edge; codes beyond it have no width.
  std::fill(starts.begin() + markers, starts.end(), width);
  starts_ = starts;
}

std::unique_ptr<SkinBitmapFont> SkinBitmapFont::FromSection(SkinDescription& description, WStringView section) {
  SkinImageFile glyphs;
  const WString file = description.Text(section, u"File", u"");
  if (!file.empty() && glyphs.Load(description.Folder() + file) != picture_result::kOk)
    description.Note(section, u"File", u"the glyph picture does not load");
  else if (!glyphs.IsEmpty() && glyphs.BitCount() != 8)
    description.Note(section, u"File", u"the glyph picture is not 8 bits per pixel");
  auto font = std::make_unique<SkinBitmapFont>(WString(section), std::move(glyphs));
  if (font->glyphs_.BitCount() == 8 && !font->HasGlyphTable())
    description.Note(section, u"File", u"more than 225 glyph markers");
  return font;
}

std::pair<int, int> SkinBitmapFont::GlyphColumns(int code) const {
  if (!starts_ || code < kFirstCode || code >= kLastCode) return {0, 0};
  const size_t index = static_cast<size_t>(code - kFirstCode);
  return {(*starts_)[index], (*starts_)[index + 1]};
}

int SkinBitmapFont::GlyphRows() const { return HasGlyphTable() ? glyphs_.Height() - 1 : 0; }

SkinTextExtent SkinBitmapFont::DrawText(WStringView text, int length, const platform::Rect& box, uint32_t,
                                        SkinColour colour, SkinDib* target) const {
  text = SkinTextPart(text, length);
  if (!starts_) return {};
  const int rows = std::min(GlyphRows(), box.Height() - 1);
  const bool drawing = target != nullptr && target->BitCount() == 32 && rows > 0;
  const int right = target != nullptr ? target->Width() : box.Width();
  int x = 0;
  for (char16_t ch : text) {
    const auto [first, last] = GlyphColumns(platform::CharToOem(ch));
    const int glyphWidth = last - first;
    if (x + glyphWidth > right) break;
    if (drawing) {
      // The glyph's bottom rows, ending at the box's bottom row.
      const int targetBottom = std::min(box.Height(), target->Height()) - 1;
      for (int r = 0; r < rows && targetBottom - r >= 0; ++r) {
        const uint8_t* in = glyphs_.Row(GlyphRows() - 1 - r) + first;
        uint8_t* out = target->Row(targetBottom - r) + 4 * x;
        for (int i = 0; i < glyphWidth; ++i, out += 4) {
          out[0] = SkinBlue(colour);
          out[1] = SkinGreen(colour);
          out[2] = SkinRed(colour);
          out[3] = static_cast<uint8_t>(255 - in[i]);
        }
      }
    }
    x += glyphWidth;
  }
  return {x, rows > 0 ? rows : 0};
}

SkinTextExtent SkinBitmapFont::Measure(WStringView text) const {
  if (!starts_) return {};
  int width = 0;
  for (char16_t ch : text) {
    const auto [first, last] = GlyphColumns(platform::CharToOem(ch));
    width += last - first;
  }
  return {width, GlyphRows()};
}

bool SkinBitmapFont::Fits(WStringView, const platform::Rect&, uint32_t) const { return false; }

}  // namespace applet
