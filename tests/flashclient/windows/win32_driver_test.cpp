// The driver on Windows with its Win32 port: the identification and release
// of bootloader-sim through a Wine COM port in both OS families, the search
// for the default USB serial device, and the log file in text mode.

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>

#include "base/clock.h"
#include "flashclient/boot_protocol.h"
#include "flashclient/client_interface.h"
#include "flashclient/driver_log.h"
#include "flashclient/driver_state.h"
#include "flashclient/port_layer.h"
#include "flashclient/test_hooks.h"
#include "tests/flashclient/windows/wine_handoff.h"
#include "tests/flashclient/windows/win32_test_support.h"

namespace {

using drkclient::State;

class Win32Driver : public ::testing::Test {
 protected:
  void Use(platform::Clock& clock) { scope_.emplace(clock, drkclient::DefaultPortOpener()); }
  void TearDown() override { scope_.reset(); }

  wintest::TempFolder folder_;  // current: the log files go here
  std::optional<drkclient::ScopedDriverForTest> scope_;
};

class Win32DriverOnSim : public Win32Driver, public ::testing::WithParamInterface<int32_t> {};

TEST_P(Win32DriverOnSim, IdentifiesAndReleasesTheDevice) {
  const std::string sim = wintest::Env(winetest::kSimPortEnv);
  if (sim.empty()) GTEST_SKIP() << winetest::kSimPortEnv << " is not set: run through flashclient_wine_tests";
  wintest::ScopedEnv port("DRK_SERIAL_PORT", sim.c_str());
  platform::SystemClock realTime;  // a real port
  Use(realTime);
  State().osFamily = GetParam();
  drkclient::Client_Logging(1);

  ASSERT_EQ(drkclient::Client_Initialize(), 0) << folder_.ReadFileStartingWith("drk");
  char model[32] = {};
  drkclient::Client_ModelID(model);
  EXPECT_STREQ(model, "Yvra t4170");
  EXPECT_EQ(State().blockSize, 16384u);
  EXPECT_EQ(State().moduleText.Str(), "M8346B 4.1.13");
  EXPECT_EQ(drkclient::Client_Shutdown(), 0);
  EXPECT_EQ(State().port, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Families, Win32DriverOnSim, ::testing::Values(drkclient::kOsFamilyNt5,
                                                                       drkclient::kOsFamilyOther),
                         [](const auto& info) { return info.param == 0 ? "IoControlCodes" : "CommunicationFunctions"; });

TEST_F(Win32Driver, AnImageFileHeldOpenElsewhereIsNotSelected) {
  platform::ManualClock clock;
  Use(clock);
  const std::string path = (folder_.Path() / "os.nb0").string();
  std::FILE* image = std::fopen(path.c_str(), "wb");
  ASSERT_NE(image, nullptr);
  std::fputs("image", image);
  std::fclose(image);
  // Another program reads it, and lets others read and write too.
  HANDLE other = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);
  EXPECT_EQ(drkclient::Client_FlashOS(path.c_str(), 0), drkclient::kImageFileCannotBeOpened);
  ::CloseHandle(other);
  EXPECT_EQ(drkclient::Client_FlashOS(path.c_str(), 0), 0);
}

TEST_F(Win32Driver, LooksForTheUsbSerialDeviceAndLogsInTextMode) {
  wintest::ScopedEnv port("DRK_SERIAL_PORT", nullptr);
  EXPECT_EQ(drkclient::SerialDevicePath(), "\\\\.\\wceusbsh001");
  // No such device in the test's Wine: 31 attempts, a second apart on the
  // manual clock.
  platform::ManualClock clock(platform::SystemTime{.year = 2005, .month = 2, .day = 8, .hour = 14, .minute = 3, .second = 7});
  Use(clock);
  drkclient::Client_Logging(1);
  EXPECT_EQ(drkclient::CommPortSetup(), drkclient::PortSetup::DeviceAbsent);
  drkclient::LogClose();

  std::string name;
  const std::string log = folder_.ReadFileStartingWith("drk", &name);
  EXPECT_EQ(name, "drk282005_140308.log");  // named at the first line, after the first wait
  std::string expected = "DRKClient_Driver executed 2/8/2005 14:03:08 \r\r\n\r\n";
  for (int second = 8; second <= 38; ++second) {
    char time[16];
    std::snprintf(time, sizeof time, "14:03:%02d", second);
    expected += std::string(time) + " waiting for CommPortSetup CreateFile : 4294967295\r\n";
  }
  expected += "14:03:38 CreateFile failed: 0\r\n";
  expected += "DRKClient_Driver completed 2/8/2005 14:03:38 \r\r\n\r\n";
  EXPECT_EQ(log, expected);
}

}  // namespace
