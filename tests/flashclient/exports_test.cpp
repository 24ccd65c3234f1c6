// The C exports keep every exception inside the library: a port that
// cannot be opened for want of memory, or a worker thread that meets one,
// ends in the export's failure value and a negative progress, never in
// std::terminate.

#include <gtest/gtest.h>

#include <new>
#include <string>

#include "flashclient/drk_client.h"
#include "flashclient/flash_worker.h"
#include "tests/flashclient/driver_fixture.h"

namespace flashtest {
namespace {

namespace dc = drkclient;

// Opens through another opener a number of times, then runs out of memory.
class ExhaustedOpener final : public dc::PortOpener {
 public:
  ExhaustedOpener(dc::PortOpener& real, int opensLeft) : real_(real), opensLeft_(opensLeft) {}
  std::unique_ptr<dc::SerialPort> Open(const std::string& devicePath, uint32_t& error) override {
    if (opensLeft_-- <= 0) throw std::bad_alloc();
    return real_.Open(devicePath, error);
  }

 private:
  dc::PortOpener& real_;
  int opensLeft_;
};

class Exports : public DriverTest {};

TEST_F(Exports, AnExceptionBecomesTheFailureValue) {
  struct Case {
    const char* name;
    int (*call)();
    int expected;
  };
  const Case cases[] = {
      {"Client_Initialize", [] { return Client_Initialize(); }, 101},
      {"Client_BL_Mode", [] { return Client_BL_Mode("Yvra t4170"); }, 2},
      {"Client_Component", [] { return Client_Component(7, "B"); }, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dc::ResetDriverState();
    ExhaustedOpener exhausted(opener, 0);
    dc::InstallPortOpener(&exhausted);
    EXPECT_EQ(c.call(), c.expected);
    EXPECT_EQ(Client_Progress(), -1);
    dc::InstallPortOpener(&opener);
  }
}

TEST_F(Exports, AnExceptionOnTheWorkerEndsTheRunAsAFailure) {
  // The warm reset after the boot loader image cannot reopen the port.
  ExhaustedOpener exhausted(opener, 1);
  dc::InstallPortOpener(&exhausted);
  ASSERT_EQ(Client_Initialize(), 0);
  ASSERT_EQ(Client_FlashBL(WriteFile("bl.nb0", Pattern(100)).c_str(), 0), 0);
  EXPECT_EQ(Client_StartFlash(), 1);
  dc::JoinDriverThreads();
  EXPECT_EQ(Client_Progress(), -1);
  EXPECT_EQ(S().port, nullptr);
  ASSERT_EQ(emulated.Images().size(), 1u);
  EXPECT_TRUE(emulated.Images()[0].complete);
  dc::InstallPortOpener(&opener);
}

}  // namespace
}  // namespace flashtest
