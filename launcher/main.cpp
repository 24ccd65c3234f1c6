// VELMauto: started by the platform after a reset (or by hand, with /DEBUG
// to open the operator dialog). The command line is the text after the
// program's name.

#include <cstdio>
#include <cstring>

#include "base/export_guard.h"
#include "base/text.h"
#include "launcher/boot_launcher.h"

int main(int argc, char** argv) {
  if (argc > 1 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::fputs(
        "usage: VELMauto [/DEBUG]\n"
        "Runs on an emulated device (VELM_DEVICE_ROOT): loads \\Windows\\VELM.CPL and calls its\n"
        "boot entry OnBoot, which configures the device's connections for the SIM's operator;\n"
        "with /DEBUG anywhere in the command line, OnDebug, which opens the operator dialog.\n",
        stdout);
    return 0;
  }
  platform::WString commandLine;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) commandLine += u' ';
    commandLine += platform::FromUtf8(argv[i]);
  }
  platform::CallGuarded(false, [&] { return launcher::CVELMautoApp(commandLine).InitInstance(); });
  return 0;
}
