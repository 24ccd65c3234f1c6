#include "platform/device_context.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/line_raster.h"

namespace platform {

DeviceContext::DeviceContext(const DisplayCaps& caps)
    : caps_(caps),
      pen_(GetStockPen(StockPen::Black)),
      brush_(GetStockBrush(StockBrush::White)),
      font_(GetSystemFont()) {}

DeviceContext::~DeviceContext() = default;
DeviceContext::DeviceContext(DeviceContext&&) noexcept = default;
DeviceContext& DeviceContext::operator=(DeviceContext&&) noexcept = default;

std::shared_ptr<DibSection> DeviceContext::SelectBitmap(std::shared_ptr<DibSection> bitmap) {
  std::swap(bitmap_, bitmap);
  return bitmap;
}

std::shared_ptr<const Pen> DeviceContext::SelectPen(std::shared_ptr<const Pen> pen) {
  if (!pen) return nullptr;
  std::swap(pen_, pen);
  return pen;
}

std::shared_ptr<const Brush> DeviceContext::SelectBrush(std::shared_ptr<const Brush> brush) {
  if (!brush) return nullptr;
  std::swap(brush_, brush);
  return brush;
}

std::shared_ptr<const Font> DeviceContext::SelectFont(std::shared_ptr<const Font> font) {
  if (!font) return nullptr;
  std::swap(font_, font);
  return font;
}

ColorRef DeviceContext::SetTextColor(ColorRef color) {
  return std::exchange(textColor_, color & 0x00FFFFFFu);
}

ColorRef DeviceContext::SetBkColor(ColorRef color) {
  return std::exchange(bkColor_, color & 0x00FFFFFFu);
}

int DeviceContext::SetBkMode(int mode) {
  if (mode != kTransparent && mode != kOpaque) return 0;
  return std::exchange(bkMode_, mode);
}

void DeviceContext::SetClipRect(std::optional<Rect> clip) { clip_ = clip; }

void DeviceContext::IntersectClipRect(const Rect& logical) {
  const Rect device = OffsetRect(ClampToDrawingRange(logical), origin_.x, origin_.y);
  if (clip_) {
    clip_ = IntersectRect(*clip_, device);
  } else {
    clip_ = device.IsEmpty() ? Rect{} : device;
  }
}

Rect DeviceContext::ClipBox() const {
  const auto target = DrawingTarget();
  if (!target) return {};
  return OffsetRect(target->clip, -origin_.x, -origin_.y);
}

Point DeviceContext::SetViewportOrigin(Point origin) {
  return std::exchange(origin_,
                       Point{ClampToDrawingRange(origin.x), ClampToDrawingRange(origin.y)});
}

int DeviceContext::GetDeviceCaps(int index) const {
  switch (index) {
    case kHorzRes:
      return caps_.width;
    case kVertRes:
      return caps_.height;
    case kBitsPixel:
      return caps_.bitsPerPixel;
    case kPlanes:
      return 1;
    case kNumColors:
      return -1;  // more than a palette holds
    case kRasterCaps:
      return kRcBitBlt;  // no palette
    case kLogPixelsX:
    case kLogPixelsY:
      return caps_.logicalPixelsPerInch;
    case kSizePalette:
      return 0;
    default:
      return 0;
  }
}

std::optional<DeviceContext::Target> DeviceContext::DrawingTarget() const {
  if (!bitmap_) return std::nullopt;
  Rect clip = bitmap_->Bounds();
  if (clip_) clip = IntersectRect(clip, *clip_);
  return Target{bitmap_.get(), clip};
}

ColorRef DeviceContext::GetPixel(int x, int y) const {
  const auto target = DrawingTarget();
  if (!InDrawingRange(Point{x, y})) return kInvalidColor;
  const Point p{x + origin_.x, y + origin_.y};
  if (!target || !target->clip.Contains(p)) return kInvalidColor;
  return target->bitmap->PixelColor(p.x, p.y);
}

bool DeviceContext::SetPixel(int x, int y, ColorRef color) {
  const auto target = DrawingTarget();
  if (!InDrawingRange(Point{x, y})) return false;
  const Point p{x + origin_.x, y + origin_.y};
  if (!target || !target->clip.Contains(p)) return false;
  target->bitmap->SetPixelColor(p.x, p.y, color);
  return true;
}

bool DeviceContext::FillDevice(const Rect& deviceRect, ColorRef color) {
  const auto target = DrawingTarget();
  if (!target) return false;
  const Rect r = IntersectRect(deviceRect, target->clip);
  if (r.IsEmpty()) return true;
  DibSection& dib = *target->bitmap;
  if (dib.BitCount() == 8) {
    const uint8_t index = dib.NearestIndex(color);
    for (int y = r.top; y < r.bottom; ++y) std::memset(dib.Row(y) + r.left, index, r.Width());
    return true;
  }
  // Paint the first row pixel by pixel, then copy it to the other rows.
  for (int x = r.left; x < r.right; ++x) dib.SetPixelColor(x, r.top, color);
  const size_t bytesPerPixel = static_cast<size_t>(dib.BitCount() / 8);
  const size_t offset = static_cast<size_t>(r.left) * bytesPerPixel;
  const size_t length = static_cast<size_t>(r.Width()) * bytesPerPixel;
  const uint8_t* first = dib.Row(r.top) + offset;
  for (int y = r.top + 1; y < r.bottom; ++y) {
    uint8_t* row = dib.Row(y) + offset;
    if (bytesPerPixel == 4) {
      // Colour only: the fourth byte of each pixel stays.
      for (int x = r.left; x < r.right; ++x) dib.SetPixelColor(x, y, color);
    } else {
      std::memcpy(row, first, length);
    }
  }
  return true;
}

bool DeviceContext::FillRect(const Rect& rect, const Brush& brush) {
  if (!bitmap_) return false;
  if (brush.style == kBsHollow) return true;
  return FillDevice(OffsetRect(ClampToDrawingRange(rect), origin_.x, origin_.y), brush.color);
}

bool DeviceContext::Rectangle(const Rect& shape) {
  if (!bitmap_) return false;
  const Rect rect = ClampToDrawingRange(shape);
  if (rect.IsEmpty()) return true;
  const bool outlined = pen_->style != kPsNull;
  // The outline runs along the rectangle's border pixels; the brush fills
  // what lies within it.
  const int inset = outlined ? 1 : 0;
  const Rect inner{rect.left + inset, rect.top + inset, rect.right - inset, rect.bottom - inset};
  if (brush_->style != kBsHollow && !inner.IsEmpty()) FillRect(inner, *brush_);
  if (outlined) {
    const Point saved = position_;
    const Point corners[] = {{rect.left, rect.top},
                             {rect.right - 1, rect.top},
                             {rect.right - 1, rect.bottom - 1},
                             {rect.left, rect.bottom - 1}};
    MoveTo(corners[0]);
    for (int i = 1; i <= 4; ++i) LineTo(corners[i % 4]);
    position_ = saved;
  }
  return true;
}

bool DeviceContext::FrameRect(const Rect& shape, const Brush& brush) {
  if (!bitmap_) return false;
  const Rect r = ClampToDrawingRange(shape);
  if (r.IsEmpty() || brush.style == kBsHollow) return true;
  FillRect(Rect{r.left, r.top, r.right, r.top + 1}, brush);
  FillRect(Rect{r.left, r.bottom - 1, r.right, r.bottom}, brush);
  FillRect(Rect{r.left, r.top, r.left + 1, r.bottom}, brush);
  FillRect(Rect{r.right - 1, r.top, r.right, r.bottom}, brush);
  return true;
}

bool DeviceContext::Ellipse(const Rect& shape) {
  const auto target = DrawingTarget();
  if (!target) return false;
  const Rect r = OffsetRect(ClampToDrawingRange(shape), origin_.x, origin_.y);
  if (r.IsEmpty()) return true;
  // In doubled units the centre and the pixel centres are whole numbers.
  const double cx = static_cast<double>(r.left) + r.right;
  const double cy = static_cast<double>(r.top) + r.bottom;
  const double rx = r.Width(), ry = r.Height();
  const auto inside = [&](int x, int y) {
    const double dx = (2.0 * x + 1 - cx) / rx, dy = (2.0 * y + 1 - cy) / ry;
    return dx * dx + dy * dy <= 1.0;
  };
  // The outline: pixels of the ellipse with a pixel outside it at the pen's
  // width across or down.
  const auto onOutline = [&](int x, int y, int w) {
    return !(inside(x - w, y) && inside(x + w, y) && inside(x, y - w) && inside(x, y + w));
  };
  const int penWidth = pen_->style == kPsNull ? 0 : std::max(1, pen_->width);
  const bool filled = brush_->style != kBsHollow;
  const Rect visible = IntersectRect(r, target->clip);
  DibSection& dib = *target->bitmap;
  for (int y = visible.top; y < visible.bottom; ++y) {
    for (int x = visible.left; x < visible.right; ++x) {
      if (!inside(x, y)) continue;
      if (penWidth > 0 && onOutline(x, y, penWidth)) {
        dib.SetPixelColor(x, y, pen_->color);
      } else if (filled) {
        dib.SetPixelColor(x, y, brush_->color);
      }
    }
  }
  return true;
}

bool DeviceContext::Polyline(std::span<const Point> points) {
  if (!bitmap_) return false;
  const Point saved = position_;
  bool drawn = true;
  for (size_t i = 1; i < points.size(); ++i) {
    position_ = points[i - 1];
    drawn = LineTo(points[i]) && drawn;
  }
  position_ = saved;
  return drawn;
}

Point DeviceContext::MoveTo(Point to) { return std::exchange(position_, to); }

bool DeviceContext::LineTo(Point to) {
  const Point from = std::exchange(position_, to);
  const auto target = DrawingTarget();
  if (!target || !InDrawingRange(from) || !InDrawingRange(to)) return false;
  if (pen_->style == kPsNull) return true;
  const Point a{from.x + origin_.x, from.y + origin_.y};
  const Point b{to.x + origin_.x, to.y + origin_.y};
  DibSection& dib = *target->bitmap;
  const ColorRef color = pen_->color;
  return RasterizeLine(a, b, pen_->width, target->clip, [&](int y, int x0, int x1) {
    for (int x = x0; x < x1; ++x) dib.SetPixelColor(x, y, color);
  });
}

namespace {

// Copies one row of pixels between bitmaps of different depths or colour
// tables, colour by colour.
void ConvertRow(const DibSection& source, int sx, int sy, DibSection& target, int tx, int ty,
                int width) {
  for (int i = 0; i < width; ++i) target.SetPixelColor(tx + i, ty, source.PixelColor(sx + i, sy));
}

bool SameLayout(const DibSection& a, const DibSection& b) {
  if (a.BitCount() != b.BitCount()) return false;
  if (a.BitCount() == 32) return a.Masks() == b.Masks() || &a == &b;
  if (a.BitCount() == 8) {
    return a.ColorsUsed() == b.ColorsUsed() &&
           std::equal(a.ColorTable().begin(), a.ColorTable().end(), b.ColorTable().begin());
  }
  return true;
}

}  // namespace

bool DeviceContext::BitBlt(int x, int y, int width, int height, const DeviceContext& source,
                           int sx, int sy, uint32_t rop) {
  const auto target = DrawingTarget();
  if (!target || !source.bitmap_ || rop != kSrcCopy || width < 0 || height < 0) return false;
  if (!InDrawingRange(Point{x, y}) || !InDrawingRange(Point{sx, sy}) ||
      !InDrawingRange(Point{width, height})) {
    return false;
  }
  const DibSection& from = *source.bitmap_;
  DibSection& to = *target->bitmap;

  // The block in both bitmaps' pixels, cut to the source bitmap and then to
  // the target's clip; both cuts move the two corners together.
  Rect src{sx + source.origin_.x, sy + source.origin_.y, 0, 0};
  src.right = src.left + width;
  src.bottom = src.top + height;
  const int dx = x + origin_.x - src.left;
  const int dy = y + origin_.y - src.top;
  src = IntersectRect(src, from.Bounds());
  Rect dst = IntersectRect(OffsetRect(src, dx, dy), target->clip);
  if (dst.IsEmpty()) return true;
  src = OffsetRect(dst, -dx, -dy);

  if (SameLayout(from, to)) {
    const size_t bytesPerPixel = static_cast<size_t>(from.BitCount() / 8);
    const size_t length = static_cast<size_t>(dst.Width()) * bytesPerPixel;
    // Within one bitmap the rows are taken in the order that never reads a
    // row already written.
    const bool upward = &from == &to && dy > 0;
    for (int i = 0; i < dst.Height(); ++i) {
      const int row = upward ? dst.Height() - 1 - i : i;
      std::memmove(to.Row(dst.top + row) + static_cast<size_t>(dst.left) * bytesPerPixel,
                   from.Row(src.top + row) + static_cast<size_t>(src.left) * bytesPerPixel,
                   length);
    }
    return true;
  }
  for (int row = 0; row < dst.Height(); ++row) {
    ConvertRow(from, src.left, src.top + row, to, dst.left, dst.top + row, dst.Width());
  }
  return true;
}

}  // namespace platform
