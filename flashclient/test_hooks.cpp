#include "flashclient/test_hooks.h"

#include "flashclient/driver_state.h"
#include "flashclient/flash_worker.h"

namespace drkclient {

ScopedDriverForTest::ScopedDriverForTest(platform::Clock& clock, PortOpener& opener) {
  JoinDriverThreads();
  ResetDriverState();
  clock_.emplace(clock);
  InstallPortOpener(&opener);
}

ScopedDriverForTest::~ScopedDriverForTest() {
  JoinDriverThreads();
  ResetDriverState();
  clock_.reset();
  InstallPortOpener(nullptr);
}

}  // namespace drkclient
