// The reboot tool: the maker's code first, then the restart, whatever the
// HAL makes of the first.

#include "reboot/reboot_sequence.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/process.h"
#include "platform/journal.h"
#include "tests/support/temp_device.h"

namespace reboot {
namespace {

std::vector<std::string> Events(test_support::TempDevice& device) {
  std::vector<std::string> events;
  for (const std::string& line : device.Device().Journal().Lines()) events.push_back(line.substr(7));
  return events;
}

TEST(Rebooter, TheCodes) {
  EXPECT_EQ(kDeviceOperationCode, 0x010120A4u);
  EXPECT_EQ(kRebootCode, 0x0101003Cu);
}

// This device's HAL does not know the maker's code: the restart still comes,
// and it starts the boot launcher as a reset does.
TEST(Rebooter, RestartsAfterAnUnknownCode) {
  test_support::TempDevice device;
  std::filesystem::copy_file(REBOOTER_PATH, device.HostPath("Windows/rebooter.exe"));
  platform::Process process;
  ASSERT_EQ(platform::StartProcess(u"\\Windows\\rebooter.exe", u"ignored arguments", &process),
            platform::kErrorSuccess);
  EXPECT_EQ(process.Wait(), 0);
  EXPECT_EQ(Events(device), (std::vector<std::string>{
                                "process started: \\Windows\\rebooter.exe ignored arguments",
                                "HAL control code 0x010120A4 not supported",
                                "HAL control code 0x0101003C (reboot)",
                                "reset soft",
                                "process not found: \\Windows\\VELMauto.exe",
                            }));
  EXPECT_EQ(RunRebootSequence(), 0);
}

}  // namespace
}  // namespace reboot
