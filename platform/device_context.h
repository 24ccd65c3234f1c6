#pragma once
// A device context (CreateCompatibleDC): the drawing state through which
// bitmaps are drawn on. It holds the selected bitmap, pen, brush and font,
// the text and background colours, the background mode, a clip rectangle
// and a viewport origin. Selecting an object returns the one it replaces.
//
// Coordinates are logical: a point (x, y) lands on the bitmap's pixel
// (x + origin.x, y + origin.y). The clip rectangle is in bitmap pixels; with
// none set the whole bitmap is drawable. A context without a bitmap draws
// nothing (the calls return false).
//
// Drawing writes colours only; on a 32-bit bitmap the fourth byte of each
// pixel is left as it was (see dib_section.h). On an 8-bit bitmap each colour
// becomes the nearest colour-table entry.
//
// The device capabilities are those of the handheld's screen (16 bits per
// pixel, one plane, no palette, 96 logical pixels per inch), whatever bitmap
// is selected, as for a memory context made compatible with the screen.

#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "platform/brush.h"
#include "platform/dib_section.h"
#include "platform/drawing_types.h"
#include "platform/font.h"
#include "platform/pen.h"
#include "base/text.h"

namespace platform {

// The screen a context is compatible with.
struct DisplayCaps {
  int width = 240;
  int height = 320;
  int bitsPerPixel = 16;
  int logicalPixelsPerInch = kLogicalPixelsPerInch;
};

class DeviceContext {
 public:
  // A memory context: no bitmap, the black pen, the white brush, the system
  // font, black text on a white opaque background, no clip rectangle.
  explicit DeviceContext(const DisplayCaps& caps = {});
  ~DeviceContext();
  DeviceContext(DeviceContext&&) noexcept;
  DeviceContext& operator=(DeviceContext&&) noexcept;
  DeviceContext(const DeviceContext&) = delete;
  DeviceContext& operator=(const DeviceContext&) = delete;

  // Selection; each returns the object it replaces. A null pen, brush or
  // font is refused (the current one stays and null is returned).
  std::shared_ptr<DibSection> SelectBitmap(std::shared_ptr<DibSection> bitmap);
  std::shared_ptr<const Pen> SelectPen(std::shared_ptr<const Pen> pen);
  std::shared_ptr<const Brush> SelectBrush(std::shared_ptr<const Brush> brush);
  std::shared_ptr<const Font> SelectFont(std::shared_ptr<const Font> font);
  const std::shared_ptr<DibSection>& Bitmap() const { return bitmap_; }
  const std::shared_ptr<const Pen>& CurrentPen() const { return pen_; }
  const std::shared_ptr<const Brush>& CurrentBrush() const { return brush_; }
  const std::shared_ptr<const Font>& CurrentFont() const { return font_; }

  // Each returns the previous value. An unknown background mode is refused
  // (returns 0, the mode stays).
  ColorRef SetTextColor(ColorRef color);
  ColorRef SetBkColor(ColorRef color);
  int SetBkMode(int mode);
  ColorRef TextColor() const { return textColor_; }
  ColorRef BkColor() const { return bkColor_; }
  int BkMode() const { return bkMode_; }

  // The clip rectangle, in bitmap pixels; nullopt removes it.
  void SetClipRect(std::optional<Rect> clip);
  // Narrows the clip to a rectangle given in logical coordinates.
  void IntersectClipRect(const Rect& logical);
  // The drawable area in logical coordinates (GetClipBox): the clip
  // rectangle within the bitmap; empty without a bitmap.
  Rect ClipBox() const;
  // Returns the previous origin.
  Point SetViewportOrigin(Point origin);
  Point ViewportOrigin() const { return origin_; }

  int GetDeviceCaps(int index) const;

  // Pixels (GetPixel/SetPixel); GetPixel gives kInvalidColor outside the
  // clip or the bitmap.
  static constexpr ColorRef kInvalidColor = 0xFFFFFFFF;
  ColorRef GetPixel(int x, int y) const;
  bool SetPixel(int x, int y, ColorRef color);

  // Fills the rectangle with a brush (FillRect); a hollow brush fills
  // nothing.
  bool FillRect(const Rect& rect, const Brush& brush);
  // The rectangle's outline with the pen and its inside with the brush
  // (Rectangle); right and bottom exclusive as for FillRect.
  bool Rectangle(const Rect& rect);

  // A one-pixel frame of the rectangle with a brush (FrameRect).
  bool FrameRect(const Rect& rect, const Brush& brush);
  // The ellipse inscribed in the rectangle (Ellipse): a pixel belongs to it
  // when its centre lies inside. Its pixels that have a pixel outside it at
  // the pen's width across or down make the outline; the brush fills the
  // rest.
  bool Ellipse(const Rect& rect);
  // Lines through the points in order (Polyline); the current position is
  // neither used nor moved.
  bool Polyline(std::span<const Point> points);

  // Moves the current position; returns the previous one.
  Point MoveTo(Point to);
  Point CurrentPosition() const { return position_; }
  // Draws with the pen from the current position to the point, which then
  // becomes the current position. A pen of width 0 or 1 draws the pixels of
  // the line from its start up to, not including, its end; a wider pen
  // covers every pixel whose centre lies within half its width of the line
  // (round ends). A null pen, or a line beyond kMaxDrawingCoordinate, draws
  // nothing.
  bool LineTo(Point to);

  // Copies a block of the source context's bitmap to this context's
  // (BitBlt); only kSrcCopy. The source block is taken at (sx, sy) in the
  // source's logical coordinates; the parts of it outside the source bitmap
  // are not copied. Between depths: 8-bit pixels through their colour table,
  // 32-bit to 32-bit with the fourth byte, other 32-bit targets written in
  // colour only.
  bool BitBlt(int x, int y, int width, int height, const DeviceContext& source, int sx, int sy,
              uint32_t rop = kSrcCopy);

  // Texts longer than this are not drawn or measured (the calls fail); it
  // keeps every width within the drawing range.
  static constexpr size_t kMaxTextLength = 65536;

  // Text with the current font (DrawText). count −1 means up to the
  // terminator. Returns the height of the text (with kDtVCenter or kDtBottom
  // on a single line: the offset from rect.top to the text's bottom); with
  // kDtCalcRect nothing is drawn and rect's right and bottom are set to the
  // text's extent. Characters are anti-aliased: the text colour is blended
  // into each pixel by the character's coverage. In the opaque background
  // mode each line's cell is filled with the background colour first.
  int DrawText(WStringView text, Rect& rect, uint32_t format);
  int DrawText(const char16_t* text, int count, Rect& rect, uint32_t format);
  // Draws a line of text with its top-left corner at (x, y) (TextOut).
  bool TextOut(int x, int y, WStringView text);

  // The width of the text on one line and the font's height
  // (GetTextExtentPoint).
  bool GetTextExtentPoint(WStringView text, Size* size) const;
  // GetTextExtentExPoint: *fit receives the count of characters whose
  // extent is at most maxExtent (pass a negative maxExtent to skip it);
  // extents, when given, the extent of the text up to and including each
  // character; size the extent of the whole text.
  bool GetTextExtentExPoint(WStringView text, int maxExtent, int* fit, std::vector<int>* extents,
                            Size* size) const;
  bool GetTextMetrics(TextMetrics* metrics) const;

 private:
  // What a drawing call works on: the bitmap and the part of it that may be
  // touched, in bitmap pixels.
  struct Target {
    DibSection* bitmap;
    Rect clip;
  };
  std::optional<Target> DrawingTarget() const;
  bool FillDevice(const Rect& deviceRect, ColorRef color);
  void DrawTextLine(const Target& target, const Rect& clip, int x, int y, WStringView text,
                    const std::vector<size_t>& underlined);

  DisplayCaps caps_;
  std::shared_ptr<DibSection> bitmap_;
  std::shared_ptr<const Pen> pen_;
  std::shared_ptr<const Brush> brush_;
  std::shared_ptr<const Font> font_;
  ColorRef textColor_ = 0;
  ColorRef bkColor_ = Rgb(255, 255, 255);
  int bkMode_ = kOpaque;
  std::optional<Rect> clip_;
  Point origin_;
  Point position_;
};

}  // namespace platform
