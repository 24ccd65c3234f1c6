#include "platform/text_layout.h"

#include <algorithm>

#include "platform/drawing_types.h"

namespace platform {

namespace {

bool IsBreakSpace(char16_t c) { return c == u' ' || c == u'\t'; }

void ApplyPrefixes(WStringView text, TextLayout& layout) {
  layout.shown.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'&') {
      layout.shown.push_back(text[i]);
      continue;
    }
    if (i + 1 == text.size()) break;  // a lone "&" at the end shows nothing
    ++i;
    if (text[i] != u'&') layout.underlined.push_back(layout.shown.size());
    layout.shown.push_back(text[i]);
  }
}

int SumOf(const std::vector<int>& advances, size_t from, size_t to) {
  int sum = 0;
  for (size_t i = from; i < to; ++i) sum += advances[i];
  return sum;
}

// The width of shown[from, to) without the spaces at its end.
int TrimmedWidth(const WString& shown, const std::vector<int>& advances, size_t from, size_t to) {
  while (to > from && IsBreakSpace(shown[to - 1])) --to;
  return SumOf(advances, from, to);
}

void AddLine(TextLayout& layout, const std::vector<int>& advances, size_t from, size_t to) {
  const int width = TrimmedWidth(layout.shown, advances, from, to);
  layout.lines.push_back(TextLine{from, to - from, width});
  layout.width = std::max(layout.width, width);
}

// Breaks the paragraph shown[from, to) into lines no wider than boxWidth,
// between words.
void BreakWords(TextLayout& layout, const std::vector<int>& advances, size_t from, size_t to,
                int boxWidth) {
  const WString& s = layout.shown;
  size_t lineStart = from;
  while (true) {
    size_t i = lineStart;
    int width = 0;
    size_t breakAt = 0;  // end of the last whole word that fits (0: none yet)
    size_t resumeAt = 0;
    bool overflow = false;
    while (i < to) {
      if (IsBreakSpace(s[i])) {
        size_t spacesEnd = i;
        while (spacesEnd < to && IsBreakSpace(s[spacesEnd])) ++spacesEnd;
        if (i > lineStart) {
          breakAt = i;
          resumeAt = spacesEnd;
        }
        width += SumOf(advances, i, spacesEnd);
        i = spacesEnd;
        continue;
      }
      width += advances[i];
      if (width > boxWidth && breakAt != 0) {
        overflow = true;
        break;
      }
      ++i;
    }
    if (!overflow) {
      AddLine(layout, advances, lineStart, to);
      return;
    }
    AddLine(layout, advances, lineStart, breakAt);
    lineStart = resumeAt;
  }
}

}  // namespace

TextLayout LayoutText(WStringView text, uint32_t format, int boxWidth,
                      const AdvanceFunction& advances) {
  TextLayout layout;
  if (format & kDtNoPrefix) {
    layout.shown.assign(text);
  } else {
    ApplyPrefixes(text, layout);
  }
  const std::vector<int> widths = advances(layout.shown);
  const size_t n = layout.shown.size();
  if (n == 0) return layout;

  if (format & kDtSingleLine) {
    AddLine(layout, widths, 0, n);
    return layout;
  }
  const bool wordBreak = (format & kDtWordBreak) != 0;
  size_t start = 0;
  while (start < n) {
    size_t end = start;
    while (end < n && layout.shown[end] != u'\r' && layout.shown[end] != u'\n') ++end;
    if (wordBreak) {
      BreakWords(layout, widths, start, end, boxWidth);
    } else {
      AddLine(layout, widths, start, end);
    }
    if (end == n) break;
    // CR LF counts as one break.
    start = end + (layout.shown[end] == u'\r' && end + 1 < n && layout.shown[end + 1] == u'\n'
                       ? 2
                       : 1);
  }
  return layout;
}

}  // namespace platform
