#pragma once
// A bitmap with a device context on it, and a way to see its pixels as
// text, for the drawing tests.

#include <memory>
#include <string>
#include <vector>

#include "platform/device_context.h"
#include "platform/dib_section.h"

namespace drawing_test {

struct Canvas {
  Canvas(int width, int height, int bitCount) : dib(platform::DibSection::Create(width, height, bitCount)) {
    dc.SelectBitmap(dib);
  }
  std::shared_ptr<platform::DibSection> dib;
  platform::DeviceContext dc;
};

// One string per row, top first: '#' where the pixel has the colour ink,
// '.' elsewhere.
inline std::vector<std::string> Picture(const platform::DibSection& dib, platform::ColorRef ink) {
  std::vector<std::string> rows;
  for (int y = 0; y < dib.Height(); ++y) {
    std::string row;
    for (int x = 0; x < dib.Width(); ++x) row.push_back(dib.PixelColor(x, y) == ink ? '#' : '.');
    rows.push_back(row);
  }
  return rows;
}

// The smallest rectangle holding every pixel that differs from paper;
// empty when none does.
inline platform::Rect InkBox(const platform::DibSection& dib, platform::ColorRef paper) {
  platform::Rect box{dib.Width(), dib.Height(), 0, 0};
  for (int y = 0; y < dib.Height(); ++y) {
    for (int x = 0; x < dib.Width(); ++x) {
      if (dib.PixelColor(x, y) == paper) continue;
      box.left = std::min(box.left, x);
      box.top = std::min(box.top, y);
      box.right = std::max(box.right, x + 1);
      box.bottom = std::max(box.bottom, y + 1);
    }
  }
  return box.IsEmpty() ? platform::Rect{} : box;
}

}  // namespace drawing_test
