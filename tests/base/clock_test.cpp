#include "base/clock.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(ManualClock, SleepsAdvanceTimeAndAreCounted) {
  ManualClock clock(SystemTime{.year = 2005, .month = 2, .day = 8, .hour = 14, .minute = 3, .second = 7});
  ScopedClock installed(clock);
  Sleep(31000);
  Sleep(500);
  EXPECT_EQ(NowMs(), 31500u);
  EXPECT_EQ(GetTickCount(), 31500u);
  EXPECT_EQ(clock.SleepCount(), 2u);
  EXPECT_EQ(clock.SleptMs(), 31500u);
  SystemTime t = GetLocalTime();
  EXPECT_EQ(t.year, 2005);
  EXPECT_EQ(t.month, 2);
  EXPECT_EQ(t.day, 8);
  EXPECT_EQ(t.hour, 14);
  EXPECT_EQ(t.minute, 3);
  EXPECT_EQ(t.second, 38);
  EXPECT_EQ(t.milliseconds, 500);
  EXPECT_EQ(t.dayOfWeek, 2);  // a Tuesday
  clock.Advance(500);
  EXPECT_EQ(NowMs(), 32000u);
  EXPECT_EQ(clock.SleepCount(), 2u);  // advancing is not sleeping
  EXPECT_EQ(clock.SleptMs(), 31500u);
  EXPECT_TRUE(clock.IsManual());
}

TEST(ManualClock, WallTimeSetLaterMovesOnWithTheClock) {
  ManualClock clock;
  EXPECT_EQ(clock.LocalTime().year, 2005);
  EXPECT_EQ(clock.LocalTime().dayOfWeek, 6);  // 1 January 2005, a Saturday
  clock.Sleep(5000);
  clock.SetLocalTime({.year = 2004, .month = 12, .day = 31, .hour = 23, .minute = 59, .second = 59});
  clock.Sleep(1000);
  const SystemTime t = clock.LocalTime();
  EXPECT_EQ(t.year, 2005);
  EXPECT_EQ(t.month, 1);
  EXPECT_EQ(t.day, 1);
  EXPECT_EQ(t.hour, 0);
  EXPECT_EQ(t.second, 0);
}

TEST(ManualClock, TheMillisecondReadingDoesNotWrapWhereTheTickCountDoes) {
  ManualClock clock;
  for (int i = 0; i < 2; ++i) clock.Advance(0xFFFFFFFFu);
  clock.Advance(3);
  EXPECT_EQ(clock.NowMs(), 2ull * 0xFFFFFFFFu + 3);
  EXPECT_EQ(clock.TickCount(), 1u);
}

TEST(ScopedClock, NestsAndRestoresThePreviousOne) {
  Clock* before = &CurrentClock();
  EXPECT_FALSE(before->IsManual());
  {
    ManualClock outer, inner;
    ScopedClock installOuter(outer);
    {
      ScopedClock installInner(inner);
      EXPECT_EQ(&CurrentClock(), &inner);
      Sleep(10);
    }
    EXPECT_EQ(&CurrentClock(), &outer);
    EXPECT_EQ(inner.SleptMs(), 10u);
    EXPECT_EQ(outer.SleptMs(), 0u);
  }
  EXPECT_EQ(&CurrentClock(), before);
}

}  // namespace
}  // namespace platform
