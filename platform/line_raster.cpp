#include "platform/line_raster.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace platform {

namespace {

__extension__ using Int128 = __int128;

bool InRange(Point p) {
  return std::abs(p.x) <= kMaxDrawingCoordinate && std::abs(p.y) <= kMaxDrawingCoordinate;
}

// floor(a / b) for b > 0.
int64_t FloorDiv(int64_t a, int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

void ThinLine(Point from, Point to, const Rect& clip,
              const std::function<void(int, int, int)>& run) {
  const int64_t dx = int64_t{to.x} - from.x;
  const int64_t dy = int64_t{to.y} - from.y;
  const bool xMajor = std::llabs(dx) >= std::llabs(dy);
  const int64_t steps = xMajor ? std::llabs(dx) : std::llabs(dy);
  const int64_t minorDelta = xMajor ? dy : dx;
  const int majorStart = xMajor ? from.x : from.y;
  const int minorStart = xMajor ? from.y : from.x;
  const int majorSign = (xMajor ? dx : dy) < 0 ? -1 : 1;
  const int clipMajorLo = xMajor ? clip.left : clip.top;
  const int clipMajorHi = xMajor ? clip.right : clip.bottom;
  const int clipMinorLo = xMajor ? clip.top : clip.left;
  const int clipMinorHi = xMajor ? clip.bottom : clip.right;

  // Only the steps whose major coordinate falls inside the clip are visited.
  int64_t first = 0;
  int64_t last = steps;  // exclusive
  if (majorSign > 0) {
    first = std::max<int64_t>(first, int64_t{clipMajorLo} - majorStart);
    last = std::min<int64_t>(last, int64_t{clipMajorHi} - majorStart);
  } else {
    first = std::max<int64_t>(first, int64_t{majorStart} - (clipMajorHi - 1));
    last = std::min<int64_t>(last, int64_t{majorStart} - clipMajorLo + 1);
  }
  for (int64_t i = first; i < last; ++i) {
    // Nearest pixel to i * minorDelta / steps, halves away from the start.
    const int64_t offset = FloorDiv(2 * i * std::llabs(minorDelta) + steps, 2 * steps);
    const int64_t minor = minorStart + (minorDelta < 0 ? -offset : offset);
    if (minor < clipMinorLo || minor >= clipMinorHi) continue;
    const int major = static_cast<int>(majorStart + majorSign * i);
    if (xMajor) {
      run(static_cast<int>(minor), major, major + 1);
    } else {
      run(major, static_cast<int>(minor), static_cast<int>(minor) + 1);
    }
  }
}

void WideLine(Point from, Point to, int width, const Rect& clip,
              const std::function<void(int, int, int)>& run) {
  // Doubled units: pixel centres at even coordinates, the segment shifted by
  // half a pixel for even widths; the radius is then the width itself.
  const int64_t shift = width % 2 == 0 ? 1 : 0;
  const int64_t ax = 2 * int64_t{from.x} - shift, ay = 2 * int64_t{from.y} - shift;
  const int64_t bx = 2 * int64_t{to.x} - shift, by = 2 * int64_t{to.y} - shift;
  const int64_t ex = bx - ax, ey = by - ay;
  const Int128 length2 = Int128{ex} * ex + Int128{ey} * ey;
  const Int128 radius2 = Int128{width} * width;

  const auto covered = [&](int px, int py) {
    const int64_t qx = 2 * int64_t{px} - ax, qy = 2 * int64_t{py} - ay;
    const Int128 along = Int128{qx} * ex + Int128{qy} * ey;
    const Int128 toStart2 = Int128{qx} * qx + Int128{qy} * qy;
    if (along <= 0) return toStart2 < radius2;
    if (along >= length2) {
      const Int128 rx = 2 * int64_t{px} - bx, ry = 2 * int64_t{py} - by;
      return rx * rx + ry * ry < radius2;
    }
    return toStart2 * length2 - along * along < radius2 * length2;
  };

  const int reach = width / 2 + 1;
  const Rect box = IntersectRect(
      clip, Rect{std::min(from.x, to.x) - reach, std::min(from.y, to.y) - reach,
                 std::max(from.x, to.x) + reach + 1, std::max(from.y, to.y) + reach + 1});
  for (int y = box.top; y < box.bottom; ++y) {
    int x = box.left;
    while (x < box.right) {
      while (x < box.right && !covered(x, y)) ++x;
      const int start = x;
      while (x < box.right && covered(x, y)) ++x;
      if (x > start) run(y, start, x);
    }
  }
}

}  // namespace

bool RasterizeLine(Point from, Point to, int width, const Rect& clip,
                   const std::function<void(int y, int x0, int x1)>& run) {
  if (!InRange(from) || !InRange(to)) return false;
  if (from == to || clip.IsEmpty()) return true;
  width = std::min(width, kMaxDrawingCoordinate);
  if (width <= 1) {
    ThinLine(from, to, clip, run);
  } else {
    WideLine(from, to, width, clip, run);
  }
  return true;
}

}  // namespace platform
