#include "platform/brush.h"

namespace platform {

std::shared_ptr<const Brush> Brush::CreateSolid(ColorRef color) {
  return std::make_shared<const Brush>(Brush{kBsSolid, color & 0x00FFFFFFu});
}

std::shared_ptr<const Brush> GetStockBrush(StockBrush which) {
  static const auto white = Brush::CreateSolid(Rgb(255, 255, 255));
  static const auto lightGray = Brush::CreateSolid(Rgb(192, 192, 192));
  static const auto gray = Brush::CreateSolid(Rgb(128, 128, 128));
  static const auto darkGray = Brush::CreateSolid(Rgb(64, 64, 64));
  static const auto black = Brush::CreateSolid(Rgb(0, 0, 0));
  static const auto hollow = std::make_shared<const Brush>(Brush{kBsHollow, 0});
  switch (which) {
    case StockBrush::LightGray:
      return lightGray;
    case StockBrush::Gray:
      return gray;
    case StockBrush::DarkGray:
      return darkGray;
    case StockBrush::Black:
      return black;
    case StockBrush::Hollow:
      return hollow;
    case StockBrush::White:
      break;
  }
  return white;
}

}  // namespace platform
