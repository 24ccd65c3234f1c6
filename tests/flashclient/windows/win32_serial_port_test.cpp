// The Win32 serial port on a Wine COM port that echoes every byte (a
// pseudo-terminal looped back by the Linux side), driven both ways: through
// the communication functions (NT family) and through the serial device's
// I/O control codes (the other systems).

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "base/clock.h"
#include "flashclient/os_family.h"
#include "flashclient/serial/win32_serial_port.h"
#include "tests/flashclient/windows/wine_handoff.h"
#include "tests/flashclient/windows/win32_test_support.h"

namespace {

using drkclient::PortStatus;
using drkclient::PortTimeouts;
using drkclient::SerialPort;

struct Family {
  const char* name;
  drkclient::Win32PortOpener::FamilySource source;
};

const Family kFamilies[] = {
    {"CommunicationFunctions", [] { return drkclient::kOsFamilyNt5; }},
    {"IoControlCodes", [] { return drkclient::kOsFamilyOther; }},
};

// The loopback answers in real time: a bounded wait for what was written.
constexpr int kEchoPolls = 400;
constexpr uint32_t kEchoPollMs = 5;

PortTimeouts DriverTimeouts() {
  PortTimeouts t;
  t.readIntervalTimeout = t.readTotalTimeoutMultiplier = 0xFFFFFFFFu;
  t.readTotalTimeoutConstant = 2000;
  return t;
}

std::string Pattern(size_t n) {
  std::string s(n, '\0');
  uint32_t x = 7;
  for (auto& c : s) {
    x = x * 1103515245u + 12345u;
    c = static_cast<char>(x >> 16);
  }
  return s;
}

class Win32Port : public ::testing::TestWithParam<Family> {
 protected:
  void SetUp() override {
    device_ = wintest::Env(winetest::kLoopbackPortEnv);
    if (device_.empty()) GTEST_SKIP() << winetest::kLoopbackPortEnv << " is not set: run through flashclient_wine_tests";
    drkclient::Win32PortOpener opener(GetParam().source);
    uint32_t error = 0;
    port_ = opener.Open(device_, error);
    ASSERT_NE(port_, nullptr) << device_ << ": error " << error;
    ASSERT_TRUE(port_->SetQueueSizes(3072, 3072)) << port_->LastError();
    ASSERT_TRUE(port_->SetTimeouts(DriverTimeouts())) << port_->LastError();
    ASSERT_TRUE(port_->Purge(drkclient::kPurgeRxClear | drkclient::kPurgeTxClear)) << port_->LastError();
  }

  void Send(const std::string& bytes) {
    size_t written = 0;
    ASSERT_TRUE(port_->Write(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), written));
    ASSERT_EQ(written, bytes.size());
  }
  // What the port reports queued once at least n bytes came back.
  uint32_t Queued(uint32_t n) {
    PortStatus st;
    for (int i = 0; i < kEchoPolls; ++i) {
      EXPECT_TRUE(port_->ClearErrors(st)) << port_->LastError();
      if (st.receiveQueued >= n) break;
      platform::Sleep(kEchoPollMs);
    }
    return st.receiveQueued;
  }
  std::string Read(size_t n) {
    std::string buf(n, '\0');
    size_t got = 0;
    EXPECT_TRUE(port_->Read(reinterpret_cast<uint8_t*>(buf.data()), n, got)) << port_->LastError();
    buf.resize(got);
    return buf;
  }

  std::string device_;
  std::unique_ptr<SerialPort> port_;
};

TEST_P(Win32Port, MovesBytesBothWaysUnderTheDriversTimeouts) {
  const std::string bytes("A000FF\n\xAA\0\x55", 10);
  Send(bytes);
  ASSERT_EQ(Queued(10), 10u);
  // A read takes what it asked for, and returns at once with less when
  // less is waiting.
  EXPECT_EQ(Read(4), bytes.substr(0, 4));
  EXPECT_EQ(Read(16), bytes.substr(4));
  // Nothing waiting: the read gives up after the constant read timeout.
  EXPECT_EQ(Read(1), "");
  EXPECT_TRUE(port_->SetEventMask(0)) << port_->LastError();
}

TEST_P(Win32Port, CarriesABlockLargerThanOneQueueRead) {
  const std::string block = Pattern(3000);
  Send(block);
  std::string back;
  for (int i = 0; i < kEchoPolls && back.size() < block.size(); ++i) {
    if (Queued(1) == 0) continue;
    back += Read(block.size() - back.size());
  }
  EXPECT_TRUE(back == block) << back.size() << " of " << block.size() << " bytes came back";
}

TEST_P(Win32Port, PurgeDropsWhatArrivedUnread) {
  Send("stale");
  ASSERT_EQ(Queued(5), 5u);
  ASSERT_TRUE(port_->Purge(drkclient::kPurgeRxClear));
  PortStatus st;
  ASSERT_TRUE(port_->ClearErrors(st));
  EXPECT_EQ(st.receiveQueued, 0u);
  EXPECT_EQ(st.errors, 0u);
}

TEST_P(Win32Port, AClosedPortRefusesEveryOperation) {
  EXPECT_NE(port_->HandleValue(), 0xFFFFFFFFu);
  EXPECT_NE(port_->Close(), 0);
  EXPECT_EQ(port_->Close(), 0);  // nothing left to close
  uint8_t byte = 'x';
  size_t n = 0;
  PortStatus st;
  const std::pair<const char*, std::function<bool()>> operations[] = {
      {"SetQueueSizes", [&] { return port_->SetQueueSizes(1, 1); }},
      {"SetTimeouts", [&] { return port_->SetTimeouts(DriverTimeouts()); }},
      {"Purge", [&] { return port_->Purge(drkclient::kPurgeRxClear); }},
      {"ClearErrors", [&] { return port_->ClearErrors(st); }},
      {"ClearStatistics", [&] { return port_->ClearStatistics(); }},
      {"Read", [&] { return port_->Read(&byte, 1, n); }},
      {"Write", [&] { return port_->Write(&byte, 1, n); }},
      {"SetEventMask", [&] { return port_->SetEventMask(0); }},
  };
  for (const auto& [name, operation] : operations) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(operation());
    EXPECT_EQ(port_->LastError(), static_cast<uint32_t>(ERROR_INVALID_HANDLE));
  }
}

INSTANTIATE_TEST_SUITE_P(Families, Win32Port, ::testing::ValuesIn(kFamilies),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Win32PortOpener, AnAbsentDeviceIsAFileNotFound) {
  drkclient::Win32PortOpener opener([] { return drkclient::kOsFamilyNt5; });
  uint32_t error = 0;
  EXPECT_EQ(opener.Open("\\\\.\\COM29", error), nullptr);
  EXPECT_EQ(error, static_cast<uint32_t>(ERROR_FILE_NOT_FOUND));
}

}  // namespace
