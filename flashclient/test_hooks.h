#pragma once
// What tests (and the benchmark) may change inside the driver: its clock,
// the opener of its ports, and its state. Part of the core library only;
// libDRKClientDriver.so exports none of it.

#include "flashclient/driver_clock.h"
#include "flashclient/serial/serial_port.h"

namespace drkclient {

// Installs a clock and a port opener for the object's lifetime and starts
// from the state of a freshly loaded library; on the way out waits for the
// driver's threads, resets the state again and restores the real clock and
// the POSIX opener.
class ScopedDriverForTest {
 public:
  ScopedDriverForTest(DriverClock& clock, PortOpener& opener);
  ~ScopedDriverForTest();
  ScopedDriverForTest(const ScopedDriverForTest&) = delete;
  ScopedDriverForTest& operator=(const ScopedDriverForTest&) = delete;
};

}  // namespace drkclient
