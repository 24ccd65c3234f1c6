#pragma once
// A font made from a logical-font record (CreateFontIndirect).
//
// The face name is resolved among the fonts the platform carries (see
// font_resolver.h): "Tahoma" is a metric-compatible free face, an unknown
// face falls back to DejaVu Sans. Glyphs are rendered and measured by
// FreeType at the screen's 96 logical pixels per inch with the light
// auto-hinter and 256 levels of grey, and every advance is a whole number of
// pixels, so text measures and draws the same on every machine that has the
// same packages. A weight of 600 or more on a face without a bold style is
// emboldened (one pixel wider per character), and so is a bold face whose
// outlines are as thin as its regular's (the free Tahoma's bold), keeping its
// advances; italic on a face without an italic style is slanted.
//
// A font is immutable once made and may be used from several threads.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/log_font.h"

namespace platform {

// TEXTMETRIC: the font's vertical layout and typical widths, in pixels.
struct TextMetrics {
  int height = 0;  // ascent + descent: the height of a line
  int ascent = 0;
  int descent = 0;
  int internalLeading = 0;  // height - the character height
  int externalLeading = 0;  // space the face asks for between lines
  int aveCharWidth = 0;
  int maxCharWidth = 0;
  int weight = 0;
  uint8_t italic = 0;
  uint8_t underlined = 0;
  uint8_t struckOut = 0;
  uint8_t charSet = 0;
  bool operator==(const TextMetrics&) const = default;
};

// One rendered character: its coverage (0 paper .. 255 ink), placed relative
// to the pen position on the baseline.
struct GlyphImage {
  int advance = 0;  // pixels the pen moves on
  int left = 0;     // first column, from the pen position
  int top = 0;      // first row, above the baseline (positive up)
  int width = 0;
  int rows = 0;
  std::vector<uint8_t> coverage;  // rows * width, top row first
};

class Font {
 public:
  // Null only when no face at all can be loaded. While a font made from an
  // equal record is alive, that font is returned.
  static std::shared_ptr<const Font> Create(const LogFont& logFont);

  // Only Create makes fonts.
  class Token {
    friend class Font;
    Token() = default;
  };
  explicit Font(Token);
  ~Font();
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  // The record as given (GetObject), face name cut to its limit.
  const LogFont& Logical() const { return logical_; }
  const TextMetrics& Metrics() const { return metrics_; }
  // The face that was found: its family name and host file.
  const std::string& FamilyName() const { return familyName_; }
  const std::string& FilePath() const { return filePath_; }
  // The character height (em) in pixels the glyphs are rendered at.
  int PixelSize() const { return pixelSize_; }
  // Underline and strike-out lines: offset of their top row below the
  // baseline (negative: above) and their thickness.
  int UnderlineOffset() const { return underlineOffset_; }
  int StrikeOutOffset() const { return strikeOutOffset_; }
  int LineThickness() const { return lineThickness_; }

  // The rendered character (cached). A character the face lacks is drawn
  // from the fallback face, or as the face's missing-glyph box.
  std::shared_ptr<const GlyphImage> Glyph(char32_t ch) const;
  int Advance(char32_t ch) const { return Glyph(ch)->advance; }

 private:
  struct Faces;
  static std::shared_ptr<const Font> Make(const LogFont& logical);

  LogFont logical_;
  TextMetrics metrics_;
  std::string familyName_;
  std::string filePath_;
  int pixelSize_ = 0;
  int underlineOffset_ = 0;
  int strikeOutOffset_ = 0;
  int lineThickness_ = 1;
  std::unique_ptr<Faces> faces_;
};

// The font a device context starts with: Tahoma, 9 points, regular.
std::shared_ptr<const Font> GetSystemFont();

}  // namespace platform
