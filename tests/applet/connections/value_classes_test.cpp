#include <gtest/gtest.h>

#include <array>

#include "applet/connections/adresse_ip.h"
#include "applet/connections/quality_of_service.h"

namespace applet {
namespace {

TEST(CAdresseIP, FromTextConvertsLikeTheDecimalConversion) {
  struct Case {
    const char16_t* text;
    bool ok;
    std::array<int32_t, 4> abcd;
  } cases[] = {
      {u"192.168.0.1", true, {192, 168, 0, 1}},
      {u"10.0.0.1:80", true, {10, 0, 0, 1}},
      {u" 1. +2.-3.4x", true, {1, 2, -3, 4}},
      {u"a.b.c.d", true, {0, 0, 0, 0}},
      {u"...", true, {0, 0, 0, 0}},
      {u"300.1.1.999", true, {300, 1, 1, 999}},  // no range check
      // A number -1 is a number like any other.
      {u"-1.5.6.7", true, {-1, 5, 6, 7}},
      {u"1.-1.-1.-1", true, {1, -1, -1, -1}},
      {u"1.2.3", false, {0, 0, 0, 0}},
      {u"1.2.3.4.5", false, {0, 0, 0, 0}},
      {u"", false, {0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    CAdresseIP address;
    address.Set(9, 9, 9, 9);
    EXPECT_EQ(address.FromText(c.text), c.ok) << platform::ToUtf8(c.text);
    std::array<int32_t, 4> got{};
    address.Get(got[0], got[1], got[2], got[3]);
    EXPECT_EQ(got, c.abcd) << platform::ToUtf8(c.text);
  }
}

TEST(CAdresseIP, TextRasBytesEqualityAndCopy) {
  CAdresseIP address;
  ASSERT_TRUE(address.FromText(u"192.168.0.1"));
  std::array<uint8_t, 4> ras{};
  address.ToRasAddress(ras);
  EXPECT_EQ(ras, (std::array<uint8_t, 4>{1, 0, 168, 192}));
  EXPECT_EQ(address.ToText(), u"192.168.0.1");
  EXPECT_EQ(address.text, u"192.168.0.1");

  // Only the low byte of a number reaches the platform.
  address.Set(256 + 10, -1, 0, 511);
  address.ToRasAddress(ras);
  EXPECT_EQ(ras, (std::array<uint8_t, 4>{255, 0, 255, 10}));
  EXPECT_EQ(address.ToText(), u"266.-1.0.511");

  CAdresseIP copy;
  copy = address;
  EXPECT_TRUE(copy == address);
  EXPECT_EQ(copy.text, u"");  // the cached text is not copied
  copy.d = 0;
  EXPECT_FALSE(copy == address);
  copy.Clear();
  EXPECT_TRUE(copy == CAdresseIP());
}

TEST(CQualityOfService, FromTextTakesTheModemOrder) {
  struct Case {
    const char16_t* text;
    bool ok;
    int32_t precedence, delay, reliability, peak, mean;
  } cases[] = {
      {u"1,4,3,9,31", true, 1, 4, 3, 9, 31},
      {u" 2 , 3x,,-1,+7", true, 2, 3, 0, -1, 7},
      {u"-1,-1,-1,-1,-1", true, -1, -1, -1, -1, -1},
      {u"1,2,3,4", false, 0, 0, 0, 0, 0},
      {u"1,2,3,4,5,6", false, 0, 0, 0, 0, 0},
      {u"", false, 0, 0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    CQualityOfService qos;
    qos.SetClasses(5, 5, 5, 5, 5);
    EXPECT_EQ(qos.FromText(c.text), c.ok) << platform::ToUtf8(c.text);
    EXPECT_EQ(qos.precedence, c.precedence) << platform::ToUtf8(c.text);
    EXPECT_EQ(qos.delay, c.delay) << platform::ToUtf8(c.text);
    EXPECT_EQ(qos.reliability, c.reliability) << platform::ToUtf8(c.text);
    EXPECT_EQ(qos.peakClass, c.peak) << platform::ToUtf8(c.text);
    EXPECT_EQ(qos.meanClass, c.mean) << platform::ToUtf8(c.text);
    EXPECT_EQ(qos.IsSet(), c.ok) << platform::ToUtf8(c.text);
  }
}

TEST(CQualityOfService, BestEffortMeanIsShownAs19AndStoredAs31) {
  CQualityOfService qos;
  ASSERT_TRUE(qos.FromText(u"1,4,3,9,31"));
  int32_t precedence, reliability, peak, mean, delay;
  qos.GetClasses(precedence, reliability, peak, mean, delay);
  EXPECT_EQ(precedence, 1);
  EXPECT_EQ(reliability, 3);
  EXPECT_EQ(peak, 9);
  EXPECT_EQ(mean, 19);
  EXPECT_EQ(delay, 4);

  qos.SetClasses(2, 3, 4, 19, 1);
  EXPECT_EQ(qos.meanClass, 31);
  qos.SetClasses(2, 3, 4, 18, 1);
  EXPECT_EQ(qos.meanClass, 18);

  CQualityOfService copy;
  EXPECT_FALSE(copy.IsSet());
  copy = qos;
  EXPECT_TRUE(copy == qos);
  copy.delay = 2;
  EXPECT_FALSE(copy == qos);
  copy.Clear();
  EXPECT_FALSE(copy.IsSet());
}

}  // namespace
}  // namespace applet
