#pragma once
// Lists of integers in description and database values ("10, 20", "1 2 3").

#include <array>
#include <cstddef>
#include <cstdint>

#include "base/text.h"

namespace applet {

// Integers from tokens separated by any run of commas and blanks; missing
// tokens stay 0.
template <size_t N>
std::array<int32_t, N> ParseNumberTokens(platform::WStringView text) {
  std::array<int32_t, N> values{};
  auto isSeparator = [](char16_t c) { return c == u',' || c == u' '; };
  size_t i = 0;
  for (size_t n = 0; n < N; ++n) {
    while (i < text.size() && isSeparator(text[i])) ++i;
    if (i == text.size()) break;
    size_t end = i;
    while (end < text.size() && !isSeparator(text[end])) ++end;
    values[n] = platform::TextToLong(text.substr(i, end - i));
    i = end;
  }
  return values;
}

}  // namespace applet
