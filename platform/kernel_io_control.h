#pragma once
// KernelIoControl: the calls a program makes into the handheld's hardware
// abstraction layer (HAL) by control code. This device's HAL knows one code,
// IOCTL_HAL_REBOOT, which performs a soft reset (reset.h): the start-up
// program \Windows\VELMauto.exe runs again, and the call returns once it has
// ended. Every call is journalled:
//
//   HAL control code 0x0101003C (reboot)
//   HAL control code 0x010120A4 not supported

#include <cstdint>

namespace platform {

// CTL_CODE(FILE_DEVICE_HAL, function, METHOD_BUFFERED, FILE_ANY_ACCESS).
constexpr uint32_t HalControlCode(uint32_t function) { return 0x0101u << 16 | function << 2; }

inline constexpr uint32_t kIoctlHalReboot = HalControlCode(15);  // 0x0101003C

// False with kErrorNotSupported for a code the HAL does not know; the
// reboot gives true, also when the start-up program is missing.
bool KernelIoControl(uint32_t code, const void* in, uint32_t inSize, void* out, uint32_t outSize,
                     uint32_t* returned);

}  // namespace platform
