// The handheld's process list, its HAL and icon handles.

#include <gtest/gtest.h>

#include <fstream>

#include "platform/icon_handles.h"
#include "platform/journal.h"
#include "platform/kernel_io_control.h"
#include "platform/process_snapshot.h"
#include "tests/support/temp_device.h"

namespace platform {
namespace {

TEST(ProcessSnapshot, TheOutsideProgramsOfDeviceIni) {
  test_support::TempDevice device;
  DeviceConfig config;
  config.runningProcesses = {"shell32.exe", "Hopper.EXE"};
  device.SetConfig(config);
  ProcessSnapshot snapshot;
  ASSERT_EQ(snapshot.Take(), kErrorSuccess);
  ASSERT_EQ(snapshot.Processes().size(), 2u);
  EXPECT_EQ(snapshot.Processes()[1].exeFile, u"Hopper.EXE");
  EXPECT_NE(snapshot.Processes()[0].processId, snapshot.Processes()[1].processId);

  // A device.ini that cannot be read leaves the list unknown.
  std::ofstream(device.Root() / "device.ini") << "[Device]\nOSMajorVersion=many\n";
  device.Device().ReloadConfig();
  EXPECT_EQ(snapshot.Take(), kErrorBadDb);
  EXPECT_TRUE(snapshot.Processes().empty());
  ScopedDevice rootless{std::filesystem::path()};
  EXPECT_EQ(snapshot.Take(), kErrorPathNotFound);
}

TEST(KernelIoControl, OnlyTheRebootIsKnownAndItResetsTheDevice) {
  test_support::TempDevice device;
  EXPECT_EQ(HalControlCode(2089), 0x010120A4u);
  EXPECT_EQ(kIoctlHalReboot, 0x0101003Cu);
  uint32_t returned = 99;
  EXPECT_FALSE(KernelIoControl(0x010120A4, nullptr, 0, nullptr, 0, &returned));
  EXPECT_EQ(LastError(), kErrorNotSupported);
  EXPECT_EQ(returned, 0u);
  EXPECT_TRUE(KernelIoControl(kIoctlHalReboot, nullptr, 0, nullptr, 0, nullptr));
  EXPECT_EQ(device.Device().Journal().Lines(),
            (std::vector<std::string>{"000001 HAL control code 0x010120A4 not supported",
                                      "000002 HAL control code 0x0101003C (reboot)",
                                      "000003 reset soft",
                                      "000004 process not found: \\Windows\\VELMauto.exe"}));
}

TEST(IconHandles, LiveUntilDestroyedAndNeverZero) {
  IconImage image;
  image.width = image.height = 32;
  const IconHandle a = CreateIconHandle(image);
  const IconHandle b = CreateIconHandle(image);
  EXPECT_NE(a, 0u);
  EXPECT_NE(a, b);
  EXPECT_EQ(IconOfHandle(a)->width, 32);
  EXPECT_TRUE(DestroyIcon(a));
  EXPECT_FALSE(DestroyIcon(a));
  EXPECT_EQ(IconOfHandle(a), std::nullopt);
  EXPECT_TRUE(DestroyIcon(b));
}

}  // namespace
}  // namespace platform
