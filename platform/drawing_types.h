#pragma once
// The small value types and constants of the platform's drawing services:
// points, sizes, rectangles and colours as the handheld's drawing calls take
// them, and the numeric flags those calls understand.
//
// A rectangle's right and bottom are exclusive: (0, 0, 10, 5) covers ten
// columns and five rows. A colour is 0x00bbggrr (red in the low byte).

#include <algorithm>
#include <cstdint>

namespace platform {

struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};

struct Size {
  int cx = 0;
  int cy = 0;
  bool operator==(const Size&) const = default;
};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  bool operator==(const Rect&) const = default;
};

// The common part of two rectangles; an empty result is (0, 0, 0, 0), as the
// handheld's IntersectRect gives it.
inline Rect IntersectRect(const Rect& a, const Rect& b) {
  Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
         std::min(a.bottom, b.bottom)};
  return r.IsEmpty() ? Rect{} : r;
}

inline Rect OffsetRect(const Rect& r, int dx, int dy) {
  return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

using ColorRef = uint32_t;

constexpr ColorRef Rgb(uint8_t red, uint8_t green, uint8_t blue) {
  return static_cast<ColorRef>(red) | static_cast<ColorRef>(green) << 8 |
         static_cast<ColorRef>(blue) << 16;
}
constexpr uint8_t RedOf(ColorRef c) { return static_cast<uint8_t>(c); }
constexpr uint8_t GreenOf(ColorRef c) { return static_cast<uint8_t>(c >> 8); }
constexpr uint8_t BlueOf(ColorRef c) { return static_cast<uint8_t>(c >> 16); }

// Text-drawing flags (DrawText).
inline constexpr uint32_t kDtLeft = 0x000;
inline constexpr uint32_t kDtTop = 0x000;
inline constexpr uint32_t kDtCenter = 0x001;
inline constexpr uint32_t kDtRight = 0x002;
inline constexpr uint32_t kDtVCenter = 0x004;
inline constexpr uint32_t kDtBottom = 0x008;
inline constexpr uint32_t kDtWordBreak = 0x010;
inline constexpr uint32_t kDtSingleLine = 0x020;
inline constexpr uint32_t kDtNoClip = 0x100;
inline constexpr uint32_t kDtExternalLeading = 0x200;
inline constexpr uint32_t kDtCalcRect = 0x400;
inline constexpr uint32_t kDtNoPrefix = 0x800;

// Background modes (SetBkMode).
inline constexpr int kTransparent = 1;
inline constexpr int kOpaque = 2;

// Raster operations (BitBlt).
inline constexpr uint32_t kSrcCopy = 0x00CC0020;

// Device capabilities (GetDeviceCaps) and the bit of kRasterCaps that says
// the device works through a palette.
inline constexpr int kHorzRes = 8;
inline constexpr int kVertRes = 10;
inline constexpr int kBitsPixel = 12;
inline constexpr int kPlanes = 14;
inline constexpr int kNumColors = 24;
inline constexpr int kRasterCaps = 38;
inline constexpr int kLogPixelsX = 88;
inline constexpr int kLogPixelsY = 90;
inline constexpr int kSizePalette = 104;
inline constexpr int kRcPalette = 0x0100;
inline constexpr int kRcBitBlt = 0x0001;

// The screen's logical resolution: every font size in points turns into
// pixels through it.
inline constexpr int kLogicalPixelsPerInch = 96;

// Coordinates handed to the drawing calls are limited to this magnitude (the
// range of the handheld's graphics engine): rectangles to fill or clip by
// are cut to it, other calls reaching beyond it draw nothing. Within it no
// sum or product of coordinates can overflow.
inline constexpr int kMaxDrawingCoordinate = 1 << 27;

constexpr bool InDrawingRange(int v) {
  return v >= -kMaxDrawingCoordinate && v <= kMaxDrawingCoordinate;
}
constexpr bool InDrawingRange(Point p) { return InDrawingRange(p.x) && InDrawingRange(p.y); }
constexpr bool InDrawingRange(const Rect& r) {
  return InDrawingRange(r.left) && InDrawingRange(r.top) && InDrawingRange(r.right) &&
         InDrawingRange(r.bottom);
}
constexpr int ClampToDrawingRange(int v) {
  return std::clamp(v, -kMaxDrawingCoordinate, kMaxDrawingCoordinate);
}
constexpr Rect ClampToDrawingRange(const Rect& r) {
  return {ClampToDrawingRange(r.left), ClampToDrawingRange(r.top), ClampToDrawingRange(r.right),
          ClampToDrawingRange(r.bottom)};
}

}  // namespace platform
