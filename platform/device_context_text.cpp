// The text calls of the device context: drawing, measuring, metrics.
#include <algorithm>

#include "platform/device_context.h"
#include "platform/text_layout.h"

namespace platform {

namespace {

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The character starting at text[i] (a surrogate pair makes one).
char32_t CharAt(WStringView text, size_t i) {
  const char16_t c = text[i];
  if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
    return 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00);
  }
  return c;
}

std::vector<int> AdvancesOf(const Font& font, WStringView text) {
  std::vector<int> advances(text.size(), 0);
  for (size_t i = 0; i < text.size(); ++i) {
    if (IsLowSurrogate(text[i]) && i > 0 && IsHighSurrogate(text[i - 1])) continue;
    advances[i] = font.Advance(CharAt(text, i));
  }
  return advances;
}

uint8_t Blend(uint8_t ink, uint8_t paper, int coverage) {
  return static_cast<uint8_t>((ink * coverage + paper * (255 - coverage) + 127) / 255);
}

}  // namespace

// Draws one line of shown text with its cell's top-left corner at (x, y), in
// bitmap pixels, clipped to clip. underlined lists the positions (within this
// line) that carry a prefix underline.
void DeviceContext::DrawTextLine(const Target& target, const Rect& clip, int x, int y,
                                 WStringView text, const std::vector<size_t>& underlined) {
  const Font& font = *font_;
  const TextMetrics& m = font.Metrics();
  DibSection& dib = *target.bitmap;
  const std::vector<int> advances = AdvancesOf(font, text);
  int width = 0;
  for (int a : advances) width += a;

  if (bkMode_ == kOpaque) {
    const Rect cell = IntersectRect(Rect{x, y, x + width, y + m.height}, clip);
    if (!cell.IsEmpty()) FillDevice(cell, bkColor_);
  }

  const int baseline = y + m.ascent;
  const uint8_t inkRed = RedOf(textColor_), inkGreen = GreenOf(textColor_),
                inkBlue = BlueOf(textColor_);
  int penX = x;
  for (size_t i = 0; i < text.size(); ++i) {
    if (IsLowSurrogate(text[i]) && i > 0 && IsHighSurrogate(text[i - 1])) continue;
    const auto glyph = font.Glyph(CharAt(text, i));
    const Rect box{penX + glyph->left, baseline - glyph->top, penX + glyph->left + glyph->width,
                   baseline - glyph->top + glyph->rows};
    const Rect visible = IntersectRect(box, clip);
    for (int py = visible.top; py < visible.bottom; ++py) {
      const uint8_t* coverage =
          glyph->coverage.data() + static_cast<size_t>(py - box.top) * glyph->width;
      for (int px = visible.left; px < visible.right; ++px) {
        const int a = coverage[px - box.left];
        if (a == 0) continue;
        const ColorRef paper = dib.PixelColor(px, py);
        dib.SetPixelColor(px, py,
                          Rgb(Blend(inkRed, RedOf(paper), a), Blend(inkGreen, GreenOf(paper), a),
                              Blend(inkBlue, BlueOf(paper), a)));
      }
    }
    penX += advances[i];
  }

  // Underlines of the font and of prefixed characters, and the strike-out.
  const auto rule = [&](int from, int to, int offset) {
    const Rect line = IntersectRect(
        Rect{from, baseline + offset, to, baseline + offset + font.LineThickness()}, clip);
    if (!line.IsEmpty()) FillDevice(line, textColor_);
  };
  if (m.underlined) rule(x, x + width, font.UnderlineOffset());
  if (m.struckOut) rule(x, x + width, font.StrikeOutOffset());
  for (size_t index : underlined) {
    if (index >= text.size()) continue;
    int start = x;
    for (size_t i = 0; i < index; ++i) start += advances[i];
    rule(start, start + advances[index], font.UnderlineOffset());
  }
}

int DeviceContext::DrawText(const char16_t* text, int count, Rect& rect, uint32_t format) {
  if (text == nullptr) return 0;
  if (count < 0) return DrawText(WStringView(text), rect, format);
  return DrawText(WStringView(text, static_cast<size_t>(count)), rect, format);
}

int DeviceContext::DrawText(WStringView text, Rect& rect, uint32_t format) {
  if (!font_ || text.size() > kMaxTextLength || !InDrawingRange(rect)) return 0;
  const Font& font = *font_;
  const TextMetrics& m = font.Metrics();
  const int lineHeight = m.height + ((format & kDtExternalLeading) ? m.externalLeading : 0);
  const TextLayout layout = LayoutText(
      text, format, rect.Width(), [&](WStringView shown) { return AdvancesOf(font, shown); });
  const int textHeight = lineHeight * static_cast<int>(layout.lines.size());

  if (format & kDtCalcRect) {
    rect.right = rect.left + layout.width;
    rect.bottom = rect.top + textHeight;
    return textHeight;
  }

  int top = rect.top;
  const bool singleLine = (format & kDtSingleLine) != 0;
  if (singleLine && (format & kDtVCenter)) {
    top = rect.top + (rect.Height() - textHeight) / 2;
  } else if (singleLine && (format & kDtBottom)) {
    top = rect.bottom - textHeight;
  }
  const int result = singleLine && (format & (kDtVCenter | kDtBottom))
                         ? top - rect.top + textHeight
                         : textHeight;

  const auto target = DrawingTarget();
  if (!target) return result;
  Rect clip = target->clip;
  if (!(format & kDtNoClip)) {
    clip = IntersectRect(clip, OffsetRect(rect, origin_.x, origin_.y));
  }
  if (clip.IsEmpty()) return result;

  for (size_t n = 0; n < layout.lines.size(); ++n) {
    const TextLine& line = layout.lines[n];
    int x = rect.left;
    if (format & kDtCenter) {
      x = rect.left + (rect.Width() - line.width) / 2;
    } else if (format & kDtRight) {
      x = rect.right - line.width;
    }
    std::vector<size_t> underlined;
    for (size_t index : layout.underlined) {
      if (index >= line.start && index < line.start + line.length) {
        underlined.push_back(index - line.start);
      }
    }
    const int y = top + static_cast<int>(n) * lineHeight;
    DrawTextLine(*target, clip, x + origin_.x, y + origin_.y,
                 WStringView(layout.shown).substr(line.start, line.length), underlined);
  }
  return result;
}

bool DeviceContext::TextOut(int x, int y, WStringView text) {
  const auto target = DrawingTarget();
  if (!target || !font_ || text.size() > kMaxTextLength || !InDrawingRange(Point{x, y})) {
    return false;
  }
  DrawTextLine(*target, target->clip, x + origin_.x, y + origin_.y, text, {});
  return true;
}

bool DeviceContext::GetTextExtentPoint(WStringView text, Size* size) const {
  return GetTextExtentExPoint(text, -1, nullptr, nullptr, size);
}

bool DeviceContext::GetTextExtentExPoint(WStringView text, int maxExtent, int* fit,
                                         std::vector<int>* extents, Size* size) const {
  if (!font_ || text.size() > kMaxTextLength) return false;
  const std::vector<int> advances = AdvancesOf(*font_, text);
  int total = 0;
  int fitting = 0;
  if (extents != nullptr) extents->clear();
  for (size_t i = 0; i < advances.size(); ++i) {
    total += advances[i];
    if (extents != nullptr) extents->push_back(total);
    if (maxExtent >= 0 && total <= maxExtent && fitting == static_cast<int>(i)) ++fitting;
  }
  if (fit != nullptr) *fit = maxExtent >= 0 ? fitting : static_cast<int>(text.size());
  if (size != nullptr) *size = Size{total, font_->Metrics().height};
  return true;
}

bool DeviceContext::GetTextMetrics(TextMetrics* metrics) const {
  if (!font_ || metrics == nullptr) return false;
  *metrics = font_->Metrics();
  return true;
}

}  // namespace platform
