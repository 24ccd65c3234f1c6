// Line layout of DrawText apart from fonts: every character 10 pixels wide.
#include "platform/text_layout.h"

#include <gtest/gtest.h>

#include "platform/drawing_types.h"

namespace platform {
namespace {

std::vector<int> TenEach(WStringView text) { return std::vector<int>(text.size(), 10); }

struct LayoutCase {
  const char* name;
  const char16_t* text;
  uint32_t format;
  int boxWidth;
  std::vector<std::u16string> lines;  // as shown, spaces at the end kept
  std::vector<int> widths;
  std::vector<size_t> underlined;
};

class LayoutTest : public testing::TestWithParam<LayoutCase> {};

TEST_P(LayoutTest, BreaksShowsAndMeasures) {
  const LayoutCase& c = GetParam();
  const TextLayout layout = LayoutText(c.text, c.format, c.boxWidth, TenEach);
  std::vector<std::u16string> lines;
  std::vector<int> widths;
  for (const TextLine& line : layout.lines) {
    lines.push_back(layout.shown.substr(line.start, line.length));
    widths.push_back(line.width);
  }
  EXPECT_EQ(lines, c.lines);
  EXPECT_EQ(widths, c.widths);
  EXPECT_EQ(layout.underlined, c.underlined);
  int widest = 0;
  for (int w : widths) widest = std::max(widest, w);
  EXPECT_EQ(layout.width, widest);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LayoutTest,
    testing::Values(
        LayoutCase{"empty", u"", 0, 100, {}, {}, {}},
        LayoutCase{"prefixUnderlinesTheNextCharacter", u"&File", 0, 100, {u"File"}, {40}, {0}},
        LayoutCase{"doubledPrefixShowsOneAmpersand", u"A&&B", 0, 100, {u"A&B"}, {30}, {}},
        LayoutCase{"prefixAtTheEndShowsNothing", u"AB&", 0, 100, {u"AB"}, {20}, {}},
        LayoutCase{"noPrefixKeepsAmpersands", u"&A&&", kDtNoPrefix, 100, {u"&A&&"}, {40}, {}},
        LayoutCase{"lineBreaks", u"ab\r\ncd\ne\rf", 0, 100, {u"ab", u"cd", u"e", u"f"},
                   {20, 20, 10, 10}, {}},
        LayoutCase{"breakAtTheEndStartsNoLine", u"ab\n", 0, 100, {u"ab"}, {20}, {}},
        LayoutCase{"emptyLineBetween", u"a\n\nb", 0, 100, {u"a", u"", u"b"}, {10, 0, 10}, {}},
        LayoutCase{"singleLineIgnoresBreaksAndWidth", u"ab\ncd", kDtSingleLine | kDtWordBreak, 10,
                   {u"ab\ncd"}, {50}, {}},
        LayoutCase{"withoutWordBreakALongLineStays", u"aaa bbb", 0, 30, {u"aaa bbb"}, {70}, {}},
        LayoutCase{"wordBreakBeforeTheWordThatPasses", u"aaa bbb cc", kDtWordBreak, 75,
                   {u"aaa bbb", u"cc"}, {70, 20}, {}},
        LayoutCase{"lineExactlyFull", u"aaa bbb", kDtWordBreak, 70, {u"aaa bbb"}, {70}, {}},
        LayoutCase{"spacesAtTheBreakAreDropped", u"aa   bb", kDtWordBreak, 30, {u"aa", u"bb"},
                   {20, 20}, {}},
        LayoutCase{"longWordStandsWhole", u"a bbbbbb c", kDtWordBreak, 30,
                   {u"a", u"bbbbbb", u"c"}, {10, 60, 10}, {}},
        LayoutCase{"trailingSpacesNotMeasured", u"ab  ", 0, 100, {u"ab  "}, {20}, {}},
        LayoutCase{"wordBreakPerParagraph", u"aa bb\ncc dd", kDtWordBreak, 30,
                   {u"aa", u"bb", u"cc", u"dd"}, {20, 20, 20, 20}, {}},
        LayoutCase{"prefixAcrossABreak", u"aa &bb", kDtWordBreak, 30, {u"aa", u"bb"}, {20, 20},
                   {3}}),
    [](const testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace platform
