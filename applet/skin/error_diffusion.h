#pragma once
// The display reduction: a 24-bit picture brought down to the screen's 16
// levels per channel (0, 17, 34, ..., 255) with Floyd-Steinberg error
// diffusion. Rows from the top, pixels from the left, each channel on its
// own: the shown value is q = Q(v + e) for the value v and the error e
// carried to it, and d = v + e - q goes 7/16 to the right, 3/16 below left,
// 5/16 below and 1/16 below right, each share rounded to the nearest integer
// with halves away from zero. Shares that fall past the edges are dropped.

#include <cstddef>
#include <cstdint>

namespace applet {

// Rows of 24-bit blue, green, red pixels: row y starts at top + y * step.
struct Rows24 {
  const uint8_t* top;
  ptrdiff_t step;
};
struct MutableRows24 {
  uint8_t* top;
  ptrdiff_t step;
};

// Writes the reduced copy of source (width x height) into target, which may
// be the same rows.
void DiffuseToDisplayLevels(Rows24 source, MutableRows24 target, int width, int height);

// The level a value with its carried error is shown at: 0 below 0, 255
// above 255, otherwise (x >> 4) * 17.
constexpr int DisplayLevel(int x) { return x < 0 ? 0 : x > 255 ? 255 : (x >> 4) * 17; }

}  // namespace applet
