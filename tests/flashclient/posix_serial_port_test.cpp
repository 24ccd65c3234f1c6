// The POSIX port on a pseudo-terminal: raw mode, no sharing, queue counts,
// purge, reads under the driver's timeouts, and a hung-up device.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "base/clock.h"
#include "flashclient/serial/posix_serial_port.h"

namespace {

using drkclient::PortStatus;
using drkclient::PortTimeouts;
using drkclient::PosixPortOpener;

class PosixPort : public ::testing::Test {
 protected:
  void SetUp() override {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master_, 0);
    ASSERT_EQ(::grantpt(master_), 0);
    ASSERT_EQ(::unlockpt(master_), 0);
    path_ = ::ptsname(master_);
  }
  void TearDown() override {
    if (master_ >= 0) ::close(master_);
  }
  void FromDevice(const std::string& bytes) {
    ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  // Waits (briefly, in real time: this is a real terminal) until the port
  // sees n bytes queued.
  uint32_t Queued(drkclient::SerialPort& port, uint32_t n) {
    PortStatus st;
    for (int i = 0; i < 200; ++i) {
      EXPECT_TRUE(port.ClearErrors(st));
      if (st.receiveQueued >= n) break;
      platform::Sleep(1);
    }
    return st.receiveQueued;
  }

  int master_ = -1;
  std::string path_;
};

TEST_F(PosixPort, MovesBytesBothWaysInRawMode) {
  PosixPortOpener opener;
  uint32_t error = 0;
  auto port = opener.Open(path_, error);
  ASSERT_NE(port, nullptr) << error;
  PortTimeouts t;
  t.readIntervalTimeout = t.readTotalTimeoutMultiplier = 0xFFFFFFFFu;
  t.readTotalTimeoutConstant = 2000;
  ASSERT_TRUE(port->SetTimeouts(t));
  ASSERT_TRUE(port->SetQueueSizes(3072, 3072));

  // Bytes a cooked terminal would change (CR, ^C, ^D) arrive untouched.
  FromDevice(std::string("\r\x03\x04\xAA\n", 5));
  ASSERT_EQ(Queued(*port, 5), 5u);
  uint8_t buf[16] = {};
  size_t got = 0;
  ASSERT_TRUE(port->Read(buf, sizeof buf, got));
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buf), got), std::string("\r\x03\x04\xAA\n", 5));

  size_t written = 0;
  ASSERT_TRUE(port->Write(reinterpret_cast<const uint8_t*>("A000FF\n"), 7, written));
  EXPECT_EQ(written, 7u);
  char back[16] = {};
  ssize_t r = 0;
  for (int i = 0; i < 200 && r <= 0; ++i) {
    r = ::read(master_, back, sizeof back);
    if (r <= 0) platform::Sleep(1);
  }
  EXPECT_EQ(std::string(back, static_cast<size_t>(r > 0 ? r : 0)), "A000FF\n");

  FromDevice("stale");
  ASSERT_EQ(Queued(*port, 5), 5u);
  ASSERT_TRUE(port->Purge(drkclient::kPurgeRxClear | drkclient::kPurgeTxClear));
  PortStatus st;
  ASSERT_TRUE(port->ClearErrors(st));
  EXPECT_EQ(st.receiveQueued, 0u);
  EXPECT_EQ(port->Close(), 1);
}

TEST_F(PosixPort, AReadWithNothingWaitingEndsAtTheReadTimeout) {
  PosixPortOpener opener;
  uint32_t error = 0;
  auto port = opener.Open(path_, error);
  ASSERT_NE(port, nullptr);
  PortTimeouts t;
  t.readIntervalTimeout = t.readTotalTimeoutMultiplier = 0xFFFFFFFFu;
  t.readTotalTimeoutConstant = 30;  // short: this waits in real time
  ASSERT_TRUE(port->SetTimeouts(t));
  uint8_t b = 0;
  size_t got = 7;
  EXPECT_TRUE(port->Read(&b, 1, got));
  EXPECT_EQ(got, 0u);
}

TEST_F(PosixPort, RefusesASecondOpenerANonTerminalAndAHungUpDevice) {
  PosixPortOpener opener;
  uint32_t error = 0;
  auto first = opener.Open(path_, error);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(opener.Open(path_, error), nullptr);
  EXPECT_EQ(error, 32u);  // sharing violation
  EXPECT_EQ(opener.Open("/nonexistent/tty", error), nullptr);
  EXPECT_EQ(error, 2u);

  char name[] = "/tmp/drk-not-a-tty-XXXXXX";
  int fd = ::mkstemp(name);
  ASSERT_GE(fd, 0);
  ::close(fd);
  EXPECT_EQ(opener.Open(name, error), nullptr);
  ::unlink(name);

  ::close(master_);
  master_ = -1;
  PortStatus st;
  EXPECT_FALSE(first->ClearErrors(st));
}

}  // namespace
