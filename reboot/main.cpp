// rebooter: restarts the handheld it runs on (VELM_DEVICE_ROOT). Takes no
// arguments and shows nothing.

#include <cstdio>
#include <cstring>

#include "base/export_guard.h"
#include "reboot/reboot_sequence.h"

int main(int argc, char** argv) {
  if (argc > 1 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::fputs(
        "usage: rebooter\n"
        "Runs on an emulated device (VELM_DEVICE_ROOT): issues the maker's HAL code 0x010120A4,\n"
        "then IOCTL_HAL_REBOOT, which soft-resets the device and runs \\Windows\\VELMauto.exe.\n"
        "Any other argument is ignored.\n",
        stdout);
    return 0;
  }
  return platform::CallGuarded(0, [] { return reboot::RunRebootSequence(); });
}
