#pragma once
// A sample of what the drawing services draw, reduced to a checksum.

#include <cstdint>

#include "platform/device_context.h"

namespace drawing_test {

inline uint64_t SampleDrawingChecksum() {
  using namespace platform;
  const auto dib = DibSection::Create(160, 80, 24);
  DeviceContext dc;
  dc.SelectBitmap(dib);
  dc.FillRect(Rect{0, 0, 160, 80}, *GetStockBrush(StockBrush::White));
  dc.SetBkMode(kTransparent);
  const struct {
    const char16_t* face;
    int weight;
    uint8_t italic;
  } fonts[] = {{u"Tahoma", kFwNormal, 0}, {u"Tahoma", kFwBold, 0}, {u"Tahoma", kFwNormal, 1},
               {u"Courier New", kFwNormal, 0}};
  int top = 0;
  for (const auto& f : fonts) {
    LogFont logical;
    logical.height = -11;
    logical.weight = f.weight;
    logical.italic = f.italic;
    logical.faceName = f.face;
    dc.SelectFont(Font::Create(logical));
    Rect box{2, top, 158, 80};
    top += dc.DrawText(u"Réseau GPRS & MMS", box, 0);
  }
  dc.SelectPen(Pen::Create(kPsSolid, 3, Rgb(0, 0, 156)));
  dc.MoveTo(Point{4, 70});
  dc.LineTo(Point{150, 60});
  // FNV-1a over the pixel memory.
  uint64_t hash = 1469598103934665603ull;
  for (size_t i = 0; i < dib->ImageSize(); ++i) {
    hash = (hash ^ dib->Bits()[i]) * 1099511628211ull;
  }
  return hash;
}

}  // namespace drawing_test
