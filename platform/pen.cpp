#include "platform/pen.h"

namespace platform {

std::shared_ptr<const Pen> Pen::Create(int style, int width, ColorRef color) {
  if (style != kPsSolid && style != kPsDash && style != kPsNull) style = kPsSolid;
  return std::make_shared<const Pen>(Pen{style, width < 0 ? 1 : width, color & 0x00FFFFFFu});
}

std::shared_ptr<const Pen> GetStockPen(StockPen which) {
  static const auto white = Pen::Create(kPsSolid, 1, Rgb(255, 255, 255));
  static const auto black = Pen::Create(kPsSolid, 1, Rgb(0, 0, 0));
  static const auto none = Pen::Create(kPsNull, 1, 0);
  switch (which) {
    case StockPen::White:
      return white;
    case StockPen::Null:
      return none;
    case StockPen::Black:
      break;
  }
  return black;
}

}  // namespace platform
