#include "platform/windows/dialog_units.h"

#include "platform/device_context.h"

namespace platform {

int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  int64_t num = int64_t{a} * b;
  int64_t den = c;
  if (den < 0) {
    num = -num;
    den = -den;
  }
  return static_cast<int>(num >= 0 ? (num + den / 2) / den : -((-num + den / 2) / den));
}

DialogBaseUnits DialogBaseUnitsOf(const Font& font) {
  DeviceContext dc;
  // The font is alive for the call; the context only borrows it.
  dc.SelectFont(std::shared_ptr<const Font>(std::shared_ptr<const Font>{}, &font));
  Size size;
  dc.GetTextExtentPoint(u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", &size);
  return {(size.cx / 26 + 1) / 2, font.Metrics().height};
}

Rect DialogUnitsToPixels(const Rect& units, DialogBaseUnits base) {
  return {MulDiv(units.left, base.x, 4), MulDiv(units.top, base.y, 8), MulDiv(units.right, base.x, 4),
          MulDiv(units.bottom, base.y, 8)};
}

}  // namespace platform
