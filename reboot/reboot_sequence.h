#pragma once
// rebooter: asks the handheld's HAL for the maker's device-specific
// operation and then for a restart. Nothing is looked at: a code the HAL
// does not know is passed over and the restart is still asked for.

#include <cstdint>

#include "platform/kernel_io_control.h"

namespace reboot {

// The maker's operation before the restart (function 2089, in the range
// the platform leaves to device makers).
inline constexpr uint32_t kDeviceOperationCode = platform::HalControlCode(2089);  // 0x010120A4
inline constexpr uint32_t kRebootCode = platform::kIoctlHalReboot;                // 0x0101003C

// Issues both codes in that order, without data; returns 0, which the
// program returns if the restart does not end it first.
int RunRebootSequence();

}  // namespace reboot
