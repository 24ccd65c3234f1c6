// The pieces behind the library's entries: the application object's start-up
// and help command, the stress-test guard and the single-instance rule.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "applet/shell/connection_app.h"
#include "applet/shell/single_instance.h"
#include "applet/shell/stress_tool_guard.h"
#include "base/clock.h"
#include "platform/device_config.h"
#include "platform/file.h"
#include "platform/registry.h"
#include "tests/applet/shell/boot_device.h"

namespace applet {
namespace {

using platform::Hive;
using platform::WString;
using test::BootDevice;

TEST(ConnectionApp, StartUpRegistersWithTheControlPanel) {
  BootDevice device;
  CConnectionApp app;
  ASSERT_TRUE(app.InitInstance());
  EXPECT_EQ(app.AppName(), u"Connection Setup");
  EXPECT_EQ(app.RegistryKey(), u"ORLO");
  EXPECT_EQ(BootDevice::Number(Hive::LocalMachine, u"\\ControlPanel\\ORLO_VELM", u"Group"), 2);
  EXPECT_EQ(platform::LoadString(1), u"Connection Setup");  // its library is the resource source
  app.ExitInstance();
}

TEST(ConnectionApp, StartUpFailsWithoutTheResourceLibrary) {
  BootDevice device;
  std::filesystem::remove(device.Temp().HostPath("Yvra ROM/GPRS Settings/RondelRes.res"));
  CConnectionApp app;
  EXPECT_FALSE(app.InitInstance());
}

TEST(ConnectionApp, CustomFilesReplaceWorkingFolderFiles) {
  BootDevice device;
  device.Temp().WriteFile("Yvra File Store/GPRS Settings/GPRSope.inf", "old");
  device.Temp().WriteFile("velmCustom/GPRSope.inf", "new");
  device.Temp().WriteFile("velmCustom/OPE.inf", "centres");
  CConnectionApp app;
  ASSERT_TRUE(app.InitInstance());
  EXPECT_EQ(device.Temp().ReadFile("Yvra File Store/GPRS Settings/GPRSope.inf"), "new");
  EXPECT_EQ(device.Temp().ReadFile("Yvra File Store/GPRS Settings/OPE.inf"), "centres");
  EXPECT_FALSE(platform::FileExists(u"\\velmCustom"));
  app.ExitInstance();
}

TEST(ConnectionApp, AFileThatCannotBeCopiedStaysAndSoDoesItsFolder) {
  BootDevice device;
  // A folder of the same name in the working folder blocks the copy.
  std::filesystem::create_directories(device.Temp().HostPath("Yvra File Store/GPRS Settings/Blocked"));
  device.Temp().WriteFile("velmCustom/Blocked", "kept");
  device.Temp().WriteFile("velmCustom/Moved", "moved");
  CConnectionApp app;
  ASSERT_TRUE(app.InitInstance());
  EXPECT_EQ(device.Temp().ReadFile("velmCustom/Blocked"), "kept");
  EXPECT_FALSE(platform::FileExists(u"\\velmCustom\\Moved"));
  EXPECT_EQ(device.Temp().ReadFile("Yvra File Store/GPRS Settings/Moved"), "moved");
  app.ExitInstance();
}

TEST(ConnectionApp, HelpStartsTheHelpViewer) {
  BootDevice device;
  CConnectionApp app;
  EXPECT_FALSE(app.OnCommand(1));
  EXPECT_TRUE(app.OnCommand(CConnectionApp::kHelpCommand));
  EXPECT_EQ(device.Journal(),
            std::vector<std::string>{"process not found: peghelp.exe file:velm.htm#Main_Contents"});
}

TEST(StressToolGuard, NameByVersionAndLoweredExactMatch) {
  using List = std::vector<WString>;
  struct Case {
    unsigned major, minor;
    List processes;
    bool runs;
  };
  const Case cases[] = {
      {4, 20, {u"shell32.exe", u"hopper.exe"}, true},
      {4, 20, {u"HOPPER.EXE"}, true},        // names are lowered first
      {4, 20, {u"spider.exe"}, false},       // the older tool on a newer platform
      {4, 20, {u"hopper.exe.bak", u"xhopper.exe"}, false},  // whole names only
      {4, 0, {u"hopper.exe"}, false},        // 4.0 is not above 4.0
      {4, 0, {u"Spider.exe"}, true},
      {5, 0, {u"hopper.exe"}, true},
      {3, 0, {u"spider.exe"}, true},
      {4, 20, {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.major << "." << c.minor);
    BootDevice device;
    platform::DeviceConfig config;
    config.osMajorVersion = c.major;
    config.osMinorVersion = c.minor;
    device.Temp().SetConfig(config);
    device.Device().ReloadConfig();
    EXPECT_EQ(StressToolRuns([&] { return std::optional<List>(c.processes); }), c.runs);
  }
}

TEST(StressToolGuard, WithoutAProcessListTheRegistryKeyDecides) {
  BootDevice device;
  platform::ManualClock clock;
  platform::ScopedClock scoped(clock);
  int takes = 0;
  auto failing = [&takes] {
    ++takes;
    return std::optional<std::vector<WString>>();
  };
  EXPECT_FALSE(StressToolRuns(failing));
  EXPECT_EQ(takes, 2);
  EXPECT_EQ(clock.SleptMs(), kSnapshotRetryDelayMs);
  platform::RegistryKey key;
  ASSERT_EQ(key.Create(Hive::LocalMachine, kHopperKey), platform::kErrorSuccess);
  EXPECT_TRUE(StressToolRuns(failing));
  // A second take that works is used.
  takes = 0;
  EXPECT_TRUE(StressToolRuns([&takes] {
    return ++takes == 1 ? std::nullopt : std::optional<std::vector<WString>>({u"hopper.exe"});
  }));
}

TEST(StressToolGuard, ThePlatformsProcessList) {
  BootDevice device;
  platform::DeviceConfig config;
  config.runningProcesses = {"Hopper.exe"};
  device.Temp().SetConfig(config);
  device.Device().ReloadConfig();
  EXPECT_TRUE(StressToolRuns());
}

TEST(SingleInstance, AnotherCopyIsFoundWhileTheFirstEntryRuns) {
  BootDevice device;
  RegisterSingleInstanceMessage();
  ASSERT_NE(SingleInstanceMessage(), 0u);
  {
    SingleInstance first;
    EXPECT_FALSE(first.AnotherCopyRuns());
    SingleInstance second;
    EXPECT_TRUE(second.AnotherCopyRuns());
    EXPECT_EQ(device.Journal(), (std::vector<std::string>{
                                    "beep exclamation",
                                    "broadcast VELMsingleInstanceMsg wParam=0x0 lParam=0x0 to 0 windows"}));
  }
  // The first entry returned: the next one runs.
  SingleInstance later;
  EXPECT_FALSE(later.AnotherCopyRuns());
  ForgetSingleInstanceMessage();
}

TEST(SingleInstance, WithoutARegisteredMessageThereIsNoCheck) {
  BootDevice device;
  ForgetSingleInstanceMessage();
  SingleInstance first, second;
  EXPECT_FALSE(first.AnotherCopyRuns());
  EXPECT_FALSE(second.AnotherCopyRuns());
  EXPECT_TRUE(device.Journal().empty());
}

}  // namespace
}  // namespace applet
