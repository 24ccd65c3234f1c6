#include "base/text.h"

#include <gtest/gtest.h>

#include <climits>

namespace platform {
namespace {

TEST(Format, SystemFormats) {
  EXPECT_EQ(FormatInt(-12), u"-12");
  EXPECT_EQ(FormatNameCount(u"GPRS", 2), u"GPRS (2)");
  EXPECT_EQ(FormatDotted(192, 168, 0, 1), u"192.168.0.1");
  EXPECT_EQ(FormatTwoDigits(7), u"07");
  EXPECT_EQ(FormatTwoDigits(123), u"123");
  EXPECT_EQ(Format(u"SmsCenter%i", {3LL}), u"SmsCenter3");
  EXPECT_EQ(Format(u"%s%s%s", {WStringView(u"a"), WStringView(u"b"), WStringView(u"c")}), u"abc");
}

TEST(Format, FlagsWidthsAndOddInput) {
  struct Case {
    const char16_t* format;
    FormatArg arg;
    const char16_t* expected;
  } cases[] = {
      {u"%5d", 42LL, u"   42"},
      {u"%-5d|", 42LL, u"42   |"},
      {u"%05d", -42LL, u"-0042"},
      {u"%u", -1LL, u"4294967295"},  // a 32-bit int printed unsigned
      {u"%x", 255LL, u"ff"},
      {u"%08X", 0xFF000003ULL, u"FF000003"},
      {u"%ld", 5LL, u"5"},
      {u"100%%", 0LL, u"100%"},
      {u"%q", 1LL, u"%q"},
      {u"%i", LLONG_MIN, u"-9223372036854775808"},
  };
  for (const auto& c : cases) EXPECT_EQ(Format(c.format, {c.arg}), c.expected) << ToUtf8(c.format);
  EXPECT_EQ(Format(u"%i and %i", {1LL}), u"1 and ");
}

TEST(TextToLong, DecimalSemantics) {
  struct Case {
    const char16_t* text;
    int32_t value;
  } cases[] = {
      {u"80", 80},         {u"  -12abc", -12}, {u"+7", 7},
      {u"abc", 0},         {u"", 0},           {u"\t 9", 9},
      {u"99999999999", INT32_MAX},             {u"-99999999999", INT32_MIN},
      {u"- 5", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(TextToLong(c.text), c.value) << ToUtf8(c.text);
}

TEST(Utf8, RoundTripAndReplacement) {
  const WString text = u"Fran\u00e7ais \u20ac \U0001F600";
  EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
  EXPECT_EQ(FromUtf8("a\xff"
                     "b"),
            u"a\uFFFDb");
  // An unpaired surrogate becomes U+FFFD in UTF-8 instead of invalid bytes.
  EXPECT_EQ(ToUtf8(WString(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

TEST(LetterCase, UpperAndCompare) {
  EXPECT_EQ(ToUpper(u"wapgprs \u00e9"), u"WAPGPRS \u00c9");
  EXPECT_TRUE(EqualsNoCase(u"VELM.cpl", u"velm.CPL"));
  EXPECT_FALSE(EqualsNoCase(u"VELM", u"VELM2"));
  EXPECT_LT(CompareNoCase(u"alpha", u"Beta"), 0);
}

TEST(LetterCase, FoldingIsTheKeyOfCaseInsensitiveEquality) {
  const WString pairs[][2] = {
      {u"HardReset", u"hardRESET"},
      {u"Straße", u"STRASSE"},  // full folding lengthens the sharp s
      {u"ÉTAT", u"état"},
      {u"", u""},
  };
  for (const auto& p : pairs) {
    EXPECT_TRUE(EqualsNoCase(p[0], p[1]));
    EXPECT_EQ(FoldCase(p[0]), FoldCase(p[1])) << ToUtf8(p[0]);
  }
  EXPECT_NE(FoldCase(u"VELM"), FoldCase(u"VELM2"));
}

TEST(Utf8, WellFormedOrNot) {
  struct Case {
    std::string text;
    bool ok;
    size_t badAt;
  } cases[] = {
      {"plain", true, 0},
      {"Fran\xc3\xa7" "ais \xe2\x82\xac \xf0\x9f\x98\x80", true, 0},
      {"a\xff" "b", false, 1},
      {"ok\xc3", false, 2},              // cut in the middle of a sequence
      {"\xc0\xaf", false, 0},            // overlong
      {"x\xed\xa0\x80", false, 1},       // an encoded surrogate
      {std::string("nul\0ok", 6), true, 0},
  };
  for (const Case& c : cases) {
    size_t badAt = 99;
    EXPECT_EQ(IsWellFormedUtf8(c.text, &badAt), c.ok) << c.text;
    if (!c.ok) EXPECT_EQ(badAt, c.badAt) << c.text;
  }
}

}  // namespace
}  // namespace platform
