#pragma once
// Dialog units. A dialog template measures in units of its font: four
// horizontal units are the average width of the font's letters (the width
// of "A" to "Z" and "a" to "z" over 52, rounded), eight vertical units its
// line height. Pixels are units times the base unit over 4 (or 8), rounded
// to the nearest pixel.

#include "platform/drawing_types.h"
#include "platform/font.h"

namespace platform {

struct DialogBaseUnits {
  int x = 0;
  int y = 0;
};

DialogBaseUnits DialogBaseUnitsOf(const Font& font);
Rect DialogUnitsToPixels(const Rect& units, DialogBaseUnits base);
// a * b / c rounded to the nearest whole number (MulDiv); c 0 gives -1.
int MulDiv(int a, int b, int c);

}  // namespace platform
