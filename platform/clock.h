#pragma once
// Time on the handheld. Every sleep, wait, timeout and timer of the system
// goes through the current clock, so tests can install a ManualClock under
// which sleeps return at once and only move the clock on: a 500 ms wait
// costs no real time.

#include <atomic>
#include <cstdint>
#include <mutex>

namespace platform {

struct SystemTime {
  uint16_t year = 0;
  uint16_t month = 0;      // 1..12
  uint16_t dayOfWeek = 0;  // 0 = Sunday
  uint16_t day = 0;        // 1..31
  uint16_t hour = 0;
  uint16_t minute = 0;
  uint16_t second = 0;
  uint16_t milliseconds = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual void Sleep(uint32_t milliseconds) = 0;
  // Milliseconds since an arbitrary start; wraps after 49.7 days as on the
  // handheld.
  virtual uint32_t TickCount() = 0;
  virtual SystemTime LocalTime() = 0;
};

// The host's clocks.
class SystemClock final : public Clock {
 public:
  void Sleep(uint32_t milliseconds) override;
  uint32_t TickCount() override;
  SystemTime LocalTime() override;
};

// A clock that moves only when told to, or when someone sleeps on it.
class ManualClock final : public Clock {
 public:
  // Starts at tick 0 and at the given wall time (default 1 January 2005,
  // 00:00:00).
  ManualClock();
  explicit ManualClock(const SystemTime& start);

  void Sleep(uint32_t milliseconds) override;  // returns at once, advances
  uint32_t TickCount() override;
  SystemTime LocalTime() override;

  void Advance(uint32_t milliseconds);
  void SetLocalTime(const SystemTime& time);
  // Total milliseconds slept on this clock (to check what a run waited).
  uint64_t TotalSlept() const { return slept_.load(); }

 private:
  std::mutex mutex_;
  uint64_t ticks_ = 0;
  int64_t wallMs_ = 0;  // milliseconds since 1970 in local time
  std::atomic<uint64_t> slept_{0};
};

Clock& CurrentClock();

// Installs a clock for the lifetime of the object.
class ScopedClock {
 public:
  explicit ScopedClock(Clock& clock);
  ~ScopedClock();
  ScopedClock(const ScopedClock&) = delete;
  ScopedClock& operator=(const ScopedClock&) = delete;

 private:
  Clock* previous_;
};

// Shorthands on the current clock.
void Sleep(uint32_t milliseconds);
uint32_t GetTickCount();
SystemTime GetLocalTime();

}  // namespace platform
