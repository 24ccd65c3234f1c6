#include "flashclient/driver_clock.h"

#include <chrono>
#include <ctime>
#include <thread>

namespace drkclient {

namespace {

std::atomic<DriverClock*> g_installed{nullptr};

LocalTime FromTm(const std::tm& tm) {
  LocalTime t;
  t.year = tm.tm_year + 1900;
  t.month = tm.tm_mon + 1;
  t.day = tm.tm_mday;
  t.hour = tm.tm_hour;
  t.minute = tm.tm_min;
  t.second = tm.tm_sec;
  return t;
}

}  // namespace

void RealDriverClock::Sleep(uint32_t milliseconds) {
  CountSleep(milliseconds);
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

uint64_t RealDriverClock::NowMs() {
  auto since = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

LocalTime RealDriverClock::Now() {
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  return FromTm(tm);
}

void ManualDriverClock::Sleep(uint32_t milliseconds) {
  CountSleep(milliseconds);
  Advance(milliseconds);
}

uint64_t ManualDriverClock::NowMs() {
  std::lock_guard guard(mutex_);
  return nowMs_;
}

void ManualDriverClock::Advance(uint32_t milliseconds) {
  std::lock_guard guard(mutex_);
  nowMs_ += milliseconds;
}

void ManualDriverClock::SetLocalTime(const LocalTime& time) {
  std::lock_guard guard(mutex_);
  wall_ = time;
  wallSetAtMs_ = nowMs_;
}

LocalTime ManualDriverClock::Now() {
  std::lock_guard guard(mutex_);
  // Carry the milliseconds slept since the wall time was set through the
  // calendar with timegm, which normalises overflowing fields.
  std::tm tm{};
  tm.tm_year = wall_.year - 1900;
  tm.tm_mon = wall_.month - 1;
  tm.tm_mday = wall_.day;
  tm.tm_hour = wall_.hour;
  tm.tm_min = wall_.minute;
  tm.tm_sec = wall_.second;
  std::time_t t = timegm(&tm) + static_cast<std::time_t>((nowMs_ - wallSetAtMs_) / 1000);
  std::tm out{};
  gmtime_r(&t, &out);
  return FromTm(out);
}

DriverClock& CurrentDriverClock() {
  static RealDriverClock real;
  DriverClock* installed = g_installed.load();
  return installed != nullptr ? *installed : real;
}

void InstallDriverClock(DriverClock* clock) { g_installed.store(clock); }

}  // namespace drkclient
