#include "platform/kernel_io_control.h"

#include <cstdio>
#include <string>

#include "base/errors.h"
#include "platform/journal.h"
#include "platform/reset.h"

namespace platform {

namespace {

std::string CodeText(uint32_t code) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%08X", code);
  return hex;
}

}  // namespace

bool KernelIoControl(uint32_t code, const void*, uint32_t, void*, uint32_t, uint32_t* returned) {
  if (returned != nullptr) *returned = 0;
  if (code != kIoctlHalReboot) {
    JournalEvent("HAL control code " + CodeText(code) + " not supported");
    SetLastError(kErrorNotSupported);
    return false;
  }
  JournalEvent("HAL control code " + CodeText(code) + " (reboot)");
  // The handheld restarts at once; here the reset runs its start-up program
  // to its end before the call returns, so whoever asked sees a finished
  // boot.
  ResetDevice(/*hard=*/false, /*wait=*/true);
  return true;
}

}  // namespace platform
