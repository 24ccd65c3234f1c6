#pragma once
// What tests (and the benchmark) may change inside the driver: its clock,
// the opener of its ports, and its state. Part of the core library only;
// libDRKClientDriver.so exports none of it.

#include <optional>

#include "base/clock.h"
#include "flashclient/serial/serial_port.h"

namespace drkclient {

// Installs a clock and a port opener for the object's lifetime and starts
// from the state of a freshly loaded library; on the way out waits for the
// driver's threads, resets the state again and restores the clock before it
// and the POSIX opener.
class ScopedDriverForTest {
 public:
  ScopedDriverForTest(platform::Clock& clock, PortOpener& opener);
  ~ScopedDriverForTest();
  ScopedDriverForTest(const ScopedDriverForTest&) = delete;
  ScopedDriverForTest& operator=(const ScopedDriverForTest&) = delete;

 private:
  // Installed once the driver's threads stopped, removed once they stopped
  // again.
  std::optional<platform::ScopedClock> clock_;
};

}  // namespace drkclient
