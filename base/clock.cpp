#include "base/clock.h"

#ifdef _WIN32
#include <windows.h>
#endif
#include <time.h>

#include <chrono>
#include <thread>

namespace platform {

namespace {

SystemTime FromTm(const struct tm& t, unsigned ms) {
  SystemTime s;
  s.year = static_cast<uint16_t>(t.tm_year + 1900);
  s.month = static_cast<uint16_t>(t.tm_mon + 1);
  s.dayOfWeek = static_cast<uint16_t>(t.tm_wday);
  s.day = static_cast<uint16_t>(t.tm_mday);
  s.hour = static_cast<uint16_t>(t.tm_hour);
  s.minute = static_cast<uint16_t>(t.tm_min);
  s.second = static_cast<uint16_t>(t.tm_sec);
  s.milliseconds = static_cast<uint16_t>(ms);
  return s;
}

// Calendar conversions in UTC, under the names each C library gives them.
time_t UtcFromCalendar(struct tm* t) {
#ifdef _WIN32
  return _mkgmtime(t);
#else
  return timegm(t);
#endif
}

void CalendarFromUtc(time_t seconds, struct tm* t) {
#ifdef _WIN32
  gmtime_s(t, &seconds);
#else
  gmtime_r(&seconds, t);
#endif
}

// The calendar fields through timegm, which also carries overflowing fields
// into the next minute, hour or day.
int64_t ToWallMs(const SystemTime& s) {
  struct tm t {};
  t.tm_year = s.year - 1900;
  t.tm_mon = s.month - 1;
  t.tm_mday = s.day;
  t.tm_hour = s.hour;
  t.tm_min = s.minute;
  t.tm_sec = s.second;
  return static_cast<int64_t>(UtcFromCalendar(&t)) * 1000 + s.milliseconds;
}

std::atomic<Clock*> g_installed{nullptr};

}  // namespace

void Clock::Sleep(uint32_t milliseconds) {
  sleeps_.fetch_add(1);
  sleptMs_.fetch_add(milliseconds);
  DoSleep(milliseconds);
}

void SystemClock::DoSleep(uint32_t milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

uint64_t SystemClock::NowMs() {
  auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

SystemTime SystemClock::LocalTime() {
#ifdef _WIN32
  SYSTEMTIME st{};
  ::GetLocalTime(&st);
  return SystemTime{st.wYear, st.wMonth, st.wDayOfWeek, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
#else
  struct timespec ts {};
  clock_gettime(CLOCK_REALTIME, &ts);
  struct tm t {};
  localtime_r(&ts.tv_sec, &t);
  return FromTm(t, static_cast<unsigned>(ts.tv_nsec / 1000000));
#endif
}

ManualClock::ManualClock() : ManualClock(SystemTime{.year = 2005, .month = 1, .dayOfWeek = 6, .day = 1}) {}

ManualClock::ManualClock(const SystemTime& start) : wallMs_(ToWallMs(start)) {}

uint64_t ManualClock::NowMs() {
  std::lock_guard guard(mutex_);
  return nowMs_;
}

SystemTime ManualClock::LocalTime() {
  std::lock_guard guard(mutex_);
  time_t seconds = static_cast<time_t>(wallMs_ / 1000);
  struct tm t {};
  CalendarFromUtc(seconds, &t);
  return FromTm(t, static_cast<unsigned>(wallMs_ % 1000));
}

void ManualClock::Advance(uint32_t milliseconds) {
  std::lock_guard guard(mutex_);
  nowMs_ += milliseconds;
  wallMs_ += milliseconds;
}

void ManualClock::SetLocalTime(const SystemTime& time) {
  std::lock_guard guard(mutex_);
  wallMs_ = ToWallMs(time);
}

Clock& CurrentClock() {
  static SystemClock system;
  Clock* installed = g_installed.load();
  return installed != nullptr ? *installed : system;
}

ScopedClock::ScopedClock(Clock& clock) : previous_(g_installed.exchange(&clock)) {}
ScopedClock::~ScopedClock() { g_installed.store(previous_); }

void Sleep(uint32_t milliseconds) { CurrentClock().Sleep(milliseconds); }
uint64_t NowMs() { return CurrentClock().NowMs(); }
uint32_t GetTickCount() { return CurrentClock().TickCount(); }
SystemTime GetLocalTime() { return CurrentClock().LocalTime(); }

}  // namespace platform
