#pragma once
// The library's life and its entries, behind the exported C names
// (exports.cpp): loading makes the application object and runs its
// start-up; unloading runs its shut-down and releases the applets. Each
// entry works with the library's own resource source and gives the caller's
// back when it returns.
//
//   OnBoot   the boot-time configuration: unless another copy of the applet
//            runs or the stress-test tool does, loads the settings and
//            configures the device for the SIM's operator. Returns 0.
//   OnDebug  shows the operator dialog unless another copy runs. Returns 0.

#include <cstdint>

namespace applet {

class CConnectionApp;

// False when the start-up failed: the library must not load.
bool AttachLibrary();
void DetachLibrary();
// The application object while the library is loaded, else null.
CConnectionApp* TheApp();

int32_t CPlAppletEntry(uint32_t message, intptr_t lParam1, intptr_t lParam2);
int OnBootEntry();
int OnDebugEntry();

}  // namespace applet
