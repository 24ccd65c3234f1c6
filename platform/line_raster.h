#pragma once
// The pixels a pen covers along a line, clipped to a rectangle, delivered as
// horizontal runs. Used by the device context; kept apart so the rule is in
// one place.
//
// Width 0 or 1: one pixel per step along the longer axis, from the start up
// to, not including, the end; the other coordinate is the line's exact value
// at that step rounded to the nearest pixel, halves away from the start.
// Width w > 1: every pixel whose centre lies closer than w / 2 to the
// segment; for an even width the segment is taken half a pixel up and left,
// so the w rows or columns straddle it evenly. The ends are round.
// A zero-length line covers nothing.

#include <functional>

#include "platform/drawing_types.h"

namespace platform {

// run(y, x0, x1) receives each covered run of row y, columns x0 to x1
// exclusive. Returns false (and covers nothing) when a coordinate lies beyond
// kMaxDrawingCoordinate.
bool RasterizeLine(Point from, Point to, int width, const Rect& clip,
                   const std::function<void(int y, int x0, int x1)>& run);

}  // namespace platform
