#include "applet/skin/error_diffusion.h"

#include <array>
#include <vector>

namespace applet {

namespace {

// The carried error is at most 16 either way (the four shares of an error
// of 16 add up to 16), so v + e lies in -16..271 and d in -16..16.
constexpr int kMaxError = 16;
constexpr int kLowest = -kMaxError;
constexpr int kHighest = 255 + kMaxError;

// n * d / 16 rounded to the nearest integer, halves away from zero.
constexpr int Share(int n, int d) {
  const int scaled = n * d;
  return scaled >= 0 ? (scaled + 8) / 16 : -((-scaled + 8) / 16);
}

struct Shares {
  int16_t right, belowLeft, below, belowRight;
};

struct Tables {
  std::array<uint8_t, kHighest - kLowest + 1> level{};
  std::array<Shares, kHighest - kLowest + 1> shares{};
};

constexpr Tables MakeTables() {
  Tables t{};
  for (int x = kLowest; x <= kHighest; ++x) {
    const int q = DisplayLevel(x);
    const int d = x - q;
    t.level[x - kLowest] = static_cast<uint8_t>(q);
    t.shares[x - kLowest] = {static_cast<int16_t>(Share(7, d)), static_cast<int16_t>(Share(3, d)),
                             static_cast<int16_t>(Share(5, d)), static_cast<int16_t>(Share(1, d))};
  }
  return t;
}

constexpr Tables kTables = MakeTables();

}  // namespace

void DiffuseToDisplayLevels(Rows24 source, MutableRows24 target, int width, int height) {
  if (width <= 0 || height <= 0) return;
  // Two rows of carried errors, each with one pixel of margin on either side.
  const size_t rowLength = (static_cast<size_t>(width) + 2) * 3;
  std::vector<int16_t> errors(2 * rowLength, 0);
  int16_t* current = errors.data();
  int16_t* below = errors.data() + rowLength;

  for (int y = 0; y < height; ++y) {
    const uint8_t* in = source.top + y * source.step;
    uint8_t* out = target.top + y * target.step;
    int16_t* e = current + 3;  // pixel 0 of the current row
    int16_t* b = below + 3;
    for (int i = 0; i < width * 3; ++i) {
      const int x = in[i] + e[i];
      const int index = x - kLowest;
      out[i] = kTables.level[index];
      const Shares& s = kTables.shares[index];
      e[i + 3] = static_cast<int16_t>(e[i + 3] + s.right);
      b[i - 3] = static_cast<int16_t>(b[i - 3] + s.belowLeft);
      b[i] = static_cast<int16_t>(b[i] + s.below);
      b[i + 3] = static_cast<int16_t>(b[i + 3] + s.belowRight);
    }
    std::fill(current, current + rowLength, int16_t{0});
    std::swap(current, below);
  }
}

}  // namespace applet
