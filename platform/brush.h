#pragma once
// Brushes (CreateSolidBrush) and the stock brushes. A brush fills areas; a
// hollow brush fills nothing.

#include <memory>

#include "platform/drawing_types.h"

namespace platform {

inline constexpr int kBsSolid = 0;
inline constexpr int kBsHollow = 1;

struct Brush {
  int style = kBsSolid;
  ColorRef color = 0;

  static std::shared_ptr<const Brush> CreateSolid(ColorRef color);
};

// Stock brushes (GetStockObject).
enum class StockBrush { White, LightGray, Gray, DarkGray, Black, Hollow };
std::shared_ptr<const Brush> GetStockBrush(StockBrush which);

}  // namespace platform
