#pragma once
// The desktop driver's own clock. Every wait of the driver (the port search,
// the polling reads, the command waits, the warm reset pause, the reformat
// timer) sleeps on the current driver clock, and the log takes its time
// stamps from it. The library stands apart from the emulated handheld, so it
// carries this small clock instead of the platform's.
//
// Tests install a ManualDriverClock: sleeps return at once and only move the
// clock on, so a run with thirty-one open attempts and dozens of 500 ms waits
// costs no real time.

#include <atomic>
#include <cstdint>
#include <mutex>

namespace drkclient {

// Wall time as the log writes it.
struct LocalTime {
  int year = 2005;
  int month = 1;  // 1..12
  int day = 1;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
};

class DriverClock {
 public:
  virtual ~DriverClock() = default;
  virtual void Sleep(uint32_t milliseconds) = 0;
  // Milliseconds since an arbitrary start.
  virtual uint64_t NowMs() = 0;
  virtual LocalTime Now() = 0;
  // True when sleeping costs no real time; the in-memory port then decides
  // a read that would time out at once.
  virtual bool IsManual() const = 0;

  // What the driver has waited so far on this clock: the number of sleeps
  // and their total length.
  uint64_t SleepCount() const { return sleeps_.load(); }
  uint64_t SleptMs() const { return sleptMs_.load(); }

 protected:
  void CountSleep(uint32_t milliseconds) {
    sleeps_.fetch_add(1);
    sleptMs_.fetch_add(milliseconds);
  }

 private:
  std::atomic<uint64_t> sleeps_{0};
  std::atomic<uint64_t> sleptMs_{0};
};

// The host's clocks.
class RealDriverClock final : public DriverClock {
 public:
  void Sleep(uint32_t milliseconds) override;
  uint64_t NowMs() override;
  LocalTime Now() override;
  bool IsManual() const override { return false; }
};

// A clock that moves only when someone sleeps on it or when told to.
class ManualDriverClock final : public DriverClock {
 public:
  ManualDriverClock() = default;
  explicit ManualDriverClock(const LocalTime& start) : wall_(start) {}

  void Sleep(uint32_t milliseconds) override;  // returns at once, advances
  uint64_t NowMs() override;
  LocalTime Now() override;
  bool IsManual() const override { return true; }

  void Advance(uint32_t milliseconds);
  void SetLocalTime(const LocalTime& time);

 private:
  std::mutex mutex_;
  uint64_t nowMs_ = 0;
  LocalTime wall_;      // the wall time at wallSetAtMs_
  uint64_t wallSetAtMs_ = 0;
};

// The clock the driver uses; the real one unless a test installed another.
DriverClock& CurrentDriverClock();
// Installs a clock (nullptr restores the real one). Not thread-safe against
// running driver threads: install before starting work.
void InstallDriverClock(DriverClock* clock);

}  // namespace drkclient
