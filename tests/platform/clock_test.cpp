#include "platform/clock.h"

#include <gtest/gtest.h>

#include <chrono>

namespace platform {
namespace {

TEST(ManualClock, SleepsReturnAtOnceAndAdvanceTime) {
  ManualClock clock(SystemTime{2005, 2, 0, 8, 14, 3, 7, 0});
  ScopedClock installed(clock);
  auto started = std::chrono::steady_clock::now();
  Sleep(31000);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1));
  EXPECT_EQ(GetTickCount(), 31000u);
  EXPECT_EQ(clock.TotalSlept(), 31000u);
  SystemTime t = GetLocalTime();
  EXPECT_EQ(t.year, 2005);
  EXPECT_EQ(t.month, 2);
  EXPECT_EQ(t.day, 8);
  EXPECT_EQ(t.hour, 14);
  EXPECT_EQ(t.minute, 3);
  EXPECT_EQ(t.second, 38);
  EXPECT_EQ(t.dayOfWeek, 2);  // a Tuesday
  clock.Advance(500);
  EXPECT_EQ(GetTickCount(), 31500u);
  EXPECT_EQ(clock.TotalSlept(), 31000u);  // advancing is not sleeping
}

TEST(ManualClock, ScopedClockRestoresThePreviousOne) {
  Clock* before = &CurrentClock();
  {
    ManualClock clock;
    ScopedClock installed(clock);
    EXPECT_EQ(&CurrentClock(), &clock);
  }
  EXPECT_EQ(&CurrentClock(), before);
}

}  // namespace
}  // namespace platform
