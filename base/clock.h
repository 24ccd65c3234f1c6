#pragma once
// Time for the whole system, on the handheld and in the desktop driver.
// Every sleep, wait, timeout and timer goes through the current clock, so
// tests can install a ManualClock under which sleeps return at once and only
// move the clock on: a 500 ms wait or a 31-second port search costs no real
// time. Each clock counts the sleeps made on it, so a test or a benchmark can
// tell what a run waited.
//
// The current clock is the SystemClock unless a ScopedClock installed
// another. Install before starting threads that use it.

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

  // Sleeps (or, on a manual clock, moves on) and counts the sleep.
  void Sleep(uint32_t milliseconds);
  // Milliseconds since an arbitrary start; never wraps.
  virtual uint64_t NowMs() = 0;
  // The same reading cut to 32 bits: it wraps after 49.7 days, as the
  // handheld's tick count does.
  uint32_t TickCount() { return static_cast<uint32_t>(NowMs()); }
  // The wall time in the local time zone.
  virtual SystemTime LocalTime() = 0;
  // True when sleeping costs no real time.
  virtual bool IsManual() const = 0;

  // What was waited on this clock so far: the number of sleeps and their
  // total length.
  uint64_t SleepCount() const { return sleeps_.load(); }
  uint64_t SleptMs() const { return sleptMs_.load(); }

 protected:
  virtual void DoSleep(uint32_t milliseconds) = 0;

 private:
  std::atomic<uint64_t> sleeps_{0};
  std::atomic<uint64_t> sleptMs_{0};
};

// The host's clocks.
class SystemClock final : public Clock {
 public:
  uint64_t NowMs() override;
  SystemTime LocalTime() override;
  bool IsManual() const override { return false; }

 protected:
  void DoSleep(uint32_t milliseconds) override;
};

// A clock that moves only when told to, or when someone sleeps on it.
class ManualClock final : public Clock {
 public:
  // Starts at 0 ms and at the given wall time (default 1 January 2005,
  // 00:00:00).
  ManualClock();
  explicit ManualClock(const SystemTime& start);

  uint64_t NowMs() override;
  SystemTime LocalTime() override;
  bool IsManual() const override { return true; }

  // Moves the clock on without counting a sleep.
  void Advance(uint32_t milliseconds);
  // Sets the wall time; it moves on from there with the clock.
  void SetLocalTime(const SystemTime& time);

 protected:
  void DoSleep(uint32_t milliseconds) override { Advance(milliseconds); }

 private:
  std::mutex mutex_;
  uint64_t nowMs_ = 0;
  int64_t wallMs_ = 0;  // milliseconds since 1970 in local time
};

Clock& CurrentClock();

// Installs a clock for the lifetime of the object and restores the one
// before it afterwards.
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
uint64_t NowMs();
uint32_t GetTickCount();
SystemTime GetLocalTime();

}  // namespace platform
