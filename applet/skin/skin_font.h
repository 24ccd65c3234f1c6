#pragma once
// The fonts of a skin, made from "Font"/"FontGDI" and "FontBitmap" sections
// and found by their section name. A font draws a text into a box and gives
// a 32-bit picture of the box whose pixels carry the text colour and whose
// alpha is the ink's coverage, ready to be composed over a window.

#include <memory>

#include "applet/skin/skin_dib.h"
#include "applet/skin/skin_values.h"
#include "platform/drawing_types.h"
#include "base/text.h"

namespace applet {

class SkinDescription;

// Width of the widest line drawn and height of all lines.
struct SkinTextExtent {
  int width = 0;
  int height = 0;
  bool operator==(const SkinTextExtent&) const = default;
};

class SkinFont {
 public:
  explicit SkinFont(platform::WString name) : name_(std::move(name)) {}
  virtual ~SkinFont() = default;
  SkinFont(const SkinFont&) = delete;
  SkinFont& operator=(const SkinFont&) = delete;

  // The section name the font is found by.
  const platform::WString& Name() const { return name_; }

  // Draws text into a box of box's size; with a target, the target (a 32-bit
  // picture of that size) gets the text colour in every pixel and the ink's
  // coverage as alpha. With text_format::kCalcRect nothing is drawn, only
  // measured. A length of -1 means up to the first zero character.
  virtual SkinTextExtent DrawText(platform::WStringView text, int length, const platform::Rect& box,
                                  uint32_t format, SkinColour colour, SkinDib* target) const = 0;
  // The text's extent on one line.
  virtual SkinTextExtent Measure(platform::WStringView text) const = 0;
  // Whether the text, drawn with the format, is no higher than rect.
  virtual bool Fits(platform::WStringView text, const platform::Rect& rect, uint32_t format) const = 0;

 private:
  platform::WString name_;
};

// The text as far as a length of -1 (up to a zero character) or n says.
platform::WStringView SkinTextPart(platform::WStringView text, int length);

}  // namespace applet
