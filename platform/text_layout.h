#pragma once
// How DrawText lays a text out in lines, apart from any font: the prefix
// characters, the line breaks and the word breaking, given the advance of
// each character.
//
// - Without kDtNoPrefix, "&x" shows x underlined, "&&" shows one "&", and a
//   "&" at the end shows nothing.
// - With kDtSingleLine the text is one line whatever it holds. Otherwise a
//   line ends at CR LF, CR or LF; a line break at the very end of the text
//   starts no further line.
// - With kDtWordBreak (and not kDtSingleLine) a line that would pass the box
//   width is broken before the word that passes it; the spaces at the break
//   are dropped. A word wider than the box stands alone on its line, whole.
// - A line's width does not count the spaces at its end.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "base/text.h"

namespace platform {

struct TextLine {
  size_t start = 0;   // in TextLayout::shown
  size_t length = 0;  // characters drawn (spaces at the end included)
  int width = 0;
};

struct TextLayout {
  WString shown;                   // the text with the prefix characters removed
  std::vector<size_t> underlined;  // indexes in shown of the prefixed characters
  std::vector<TextLine> lines;
  int width = 0;                   // of the widest line
};

// advances(text) gives each code unit's advance in pixels (0 for the second
// half of a surrogate pair).
using AdvanceFunction = std::function<std::vector<int>(WStringView)>;

TextLayout LayoutText(WStringView text, uint32_t format, int boxWidth,
                      const AdvanceFunction& advances);

}  // namespace platform
