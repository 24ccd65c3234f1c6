#pragma once
// What the platform's cabinet installer does for the operator's bundle, on
// the current device: installing loads the setup extension
// "\Windows\Kaldset.dll" (copied first), calls its Install_Init, copies the
// bundle's other files into place and calls its Install_Exit; removing calls
// Uninstall_Init, deletes the bundle's files, calls Uninstall_Exit and
// deletes the extension last. Every step is journalled:
//
//   installer: Install_Init answered 0 (continue)
//   installer: copied \Windows\VELM.CPL
//   installer: Install_Exit answered 0 (done)

#include <string>
#include <vector>

#include "tools/handheld/device_layout.h"

namespace handheld {

inline constexpr char16_t kSetupExtension[] = u"\\Windows\\Kaldset.dll";
// The folder the installer names to the setup entries.
inline constexpr char16_t kInstallFolder[] = u"\\Windows";

// items: the manifest; only the bundle's files are installed. False, with
// *why, when a file cannot be copied or Install_Init asks to stop.
bool InstallBundle(const std::vector<InstallItem>& items, std::string* why);
// False, with *why, when Uninstall_Init asks to stop.
bool UninstallBundle(const std::vector<InstallItem>& items, std::string* why);

}  // namespace handheld
