#include "flashclient/test_hooks.h"

#include "flashclient/driver_state.h"
#include "flashclient/flash_worker.h"

namespace drkclient {

ScopedDriverForTest::ScopedDriverForTest(DriverClock& clock, PortOpener& opener) {
  JoinDriverThreads();
  ResetDriverState();
  InstallDriverClock(&clock);
  InstallPortOpener(&opener);
}

ScopedDriverForTest::~ScopedDriverForTest() {
  JoinDriverThreads();
  ResetDriverState();
  InstallDriverClock(nullptr);
  InstallPortOpener(nullptr);
}

}  // namespace drkclient
