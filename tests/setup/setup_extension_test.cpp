// The cabinet setup extension, loaded as the installer loads it.

#include <gtest/gtest.h>

#include <filesystem>

#include "base/clock.h"
#include "platform/device_config.h"
#include "platform/file.h"
#include "platform/module.h"
#include "platform/registry.h"
#include "platform/journal.h"
#include "tests/support/temp_device.h"

namespace {

namespace fs = std::filesystem;
using platform::CameraState;

using InstallInit = int (*)(void*, int, int, const char16_t*);
using InstallExit = int (*)(void*, const char16_t*, uint16_t, uint16_t, uint16_t, uint16_t, uint16_t);
using UninstallInit = int (*)(void*, const char16_t*);
using UninstallExit = int (*)(void*);

class SetupExtension : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::copy_file(KALDSET_PATH, device_.HostPath("Windows/Kaldset.dll"));
    fs::copy_file(YVRAUTIL_PATH, device_.HostPath("Windows/Yvrautil.dll"));
    Configure({}, CameraState::Present);
  }
  void Configure(std::vector<platform::OutsideWindow> windows, CameraState camera) {
    platform::DeviceConfig config;
    config.outsideWindows = std::move(windows);
    config.camera = camera;
    device_.SetConfig(config);
  }
  // Runs Install_Exit under a manual clock; returns its answer.
  int InstallExitNow() {
    platform::Module setup;
    EXPECT_EQ(setup.Load(u"\\Windows\\Kaldset.dll"), platform::kErrorSuccess) << setup.LoadMessage();
    platform::ScopedClock scoped(clock_);
    return setup.ExportAs<InstallExit>("Install_Exit")(nullptr, u"\\Windows", 0, 0, 0, 0, 0);
  }
  std::vector<std::string> Events() {
    std::vector<std::string> events;
    for (const std::string& line : device_.Device().Journal().Lines()) events.push_back(line.substr(7));
    return events;
  }

  test_support::TempDevice device_;
  platform::ManualClock clock_;
};

TEST_F(SetupExtension, TheInstallersEntriesAnswerContinueAndDone) {
  platform::Module setup;
  ASSERT_EQ(setup.Load(u"\\Windows\\Kaldset.dll"), platform::kErrorSuccess);
  EXPECT_EQ(setup.ExportAs<InstallInit>("Install_Init")(nullptr, 1, 0, u"\\Windows"), 0);
  EXPECT_EQ(setup.ExportAs<UninstallInit>("Uninstall_Init")(nullptr, u"\\Windows"), 0);
  EXPECT_EQ(setup.ExportAs<UninstallExit>("Uninstall_Exit")(nullptr), 0);
  EXPECT_EQ(setup.Export("RunPostInstall"), nullptr);
  EXPECT_TRUE(Events().empty());
}

// Without the loader running, its window is looked for four times in all,
// 500 ms apart, and nothing is posted.
TEST_F(SetupExtension, AbsentLoaderIsLookedForFourTimes) {
  EXPECT_EQ(InstallExitNow(), 0);
  EXPECT_EQ(clock_.SleepCount(), 3u);
  EXPECT_EQ(clock_.SleptMs(), 1500u);
  EXPECT_EQ(Events(), (std::vector<std::string>{"broadcast WM_SETTINGCHANGE wParam=0xf2 lParam=0x0 to 0 windows",
                                                "process not found: \\windows\\VELM.exe"}));
}

TEST_F(SetupExtension, ARunningLoaderIsToldToQuit) {
  Configure({{"STK_LOADER", "STK_Loader"}}, CameraState::Present);
  EXPECT_EQ(InstallExitNow(), 0);
  EXPECT_EQ(clock_.SleepCount(), 0u);
  EXPECT_EQ(Events(), (std::vector<std::string>{
                          "broadcast WM_SETTINGCHANGE wParam=0xf2 lParam=0x0 to 0 windows",
                          "posted WM_QUIT to window STK_LOADER \"STK_Loader\": its program ends",
                          "process not found: \\windows\\VELM.exe"}));
}

TEST_F(SetupExtension, ShortcutsOfTheToolkit) {
  struct Case {
    const char* name;
    bool key;
    bool programs;  // the shortcut in Programs exists
    bool programsLeft, startMenuLeft;
  };
  const Case cases[] = {
      {"both removed", true, true, false, false},
      {"the first missing: the second stays", true, false, false, true},
      {"no registry value: both stay", false, true, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.key) {
      platform::RegistryKey key;
      ASSERT_EQ(key.Create(platform::Hive::LocalMachine, u"SOFTWARE\\QZ\\STK"), platform::kErrorSuccess);
      ASSERT_EQ(key.SetString(u"shortcut", u"SIM Toolkit"), platform::kErrorSuccess);
    } else {
      platform::DeleteRegistryKey(platform::Hive::LocalMachine, u"SOFTWARE\\QZ\\STK");
    }
    platform::DeleteDeviceFile(u"\\Windows\\Start Menu\\Programs\\SIM Toolkit.lnk");
    if (c.programs) device_.WriteFile("Windows/Start Menu/Programs/SIM Toolkit.lnk", "link");
    device_.WriteFile("Windows/Start Menu/SIM Toolkit.lnk", "link");
    device_.WriteFile("Windows/Help/QZ SIM Toolkit.lnk", "help");
    EXPECT_EQ(InstallExitNow(), 0);
    EXPECT_EQ(platform::FileExists(u"\\Windows\\Start Menu\\Programs\\SIM Toolkit.lnk"), c.programsLeft);
    EXPECT_EQ(platform::FileExists(u"\\Windows\\Start Menu\\SIM Toolkit.lnk"), c.startMenuLeft);
    EXPECT_FALSE(platform::FileExists(u"\\Windows\\Help\\QZ SIM Toolkit.lnk"));  // always
  }
}

TEST_F(SetupExtension, TheRegistryFixRunsOnlyWithoutACamera) {
  const std::string fix = "process not found: \\Yvra ROM\\regfix.exe";
  struct Case {
    const char* name;
    CameraState camera;
    const char* library;  // "device", "none", or "other" (a library without the function)
    bool runs;
  };
  const Case cases[] = {
      {"a camera", CameraState::Present, "device", false},
      {"no camera", CameraState::Absent, "device", true},
      {"the query fails", CameraState::Unknown, "device", false},
      {"no library", CameraState::Absent, "none", false},
      {"no such function", CameraState::Absent, "other", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test_support::TempDevice device;
    fs::copy_file(KALDSET_PATH, device.HostPath("Windows/Kaldset.dll"));
    if (std::string(c.library) == "device") fs::copy_file(YVRAUTIL_PATH, device.HostPath("Windows/Yvrautil.dll"));
    if (std::string(c.library) == "other") fs::copy_file(KALDSET_PATH, device.HostPath("Windows/Yvrautil.dll"));
    platform::DeviceConfig config;
    config.camera = c.camera;
    device.SetConfig(config);
    platform::Module setup;
    ASSERT_EQ(setup.Load(u"\\Windows\\Kaldset.dll"), platform::kErrorSuccess);
    platform::ScopedClock scoped(clock_);
    EXPECT_EQ(setup.ExportAs<InstallExit>("Install_Exit")(nullptr, u"\\Windows", 0, 0, 0, 0, 0), 0);
    const auto lines = device.Device().Journal().Lines();
    const bool ran = !lines.empty() && lines.back().substr(7) == fix;
    EXPECT_EQ(ran, c.runs);
  }
}

}  // namespace
