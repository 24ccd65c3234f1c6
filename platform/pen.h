#pragma once
// Pens (CreatePen) and the stock pens. A pen draws lines and the outline of
// rectangles; a solid pen of width w > 1 draws with round ends, a width of 0
// or 1 draws single-pixel lines.

#include <memory>

#include "platform/drawing_types.h"

namespace platform {

inline constexpr int kPsSolid = 0;
inline constexpr int kPsDash = 1;
inline constexpr int kPsNull = 5;

struct Pen {
  int style = kPsSolid;
  int width = 1;
  ColorRef color = 0;

  // A style other than solid, dash or null is drawn as solid; a negative
  // width as 1. Dashes are drawn solid.
  static std::shared_ptr<const Pen> Create(int style, int width, ColorRef color);
};

// Stock pens (GetStockObject).
enum class StockPen { White, Black, Null };
std::shared_ptr<const Pen> GetStockPen(StockPen which);

}  // namespace platform
