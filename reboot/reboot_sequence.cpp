#include "reboot/reboot_sequence.h"

namespace reboot {

int RunRebootSequence() {
  platform::KernelIoControl(kDeviceOperationCode, nullptr, 0, nullptr, 0, nullptr);
  platform::KernelIoControl(kRebootCode, nullptr, 0, nullptr, 0, nullptr);
  return 0;
}

}  // namespace reboot
