#pragma once
// The driver's memory of the radio module variant: the DWORD value
// "Last_GSM_module" under HKEY_CURRENT_USER\Software\Marvane\qzDRK
// (2 = M8346B, 3 = M8346D, 4 = M8346E, 0 = none).
//
// On Windows the value lives in the current user's registry. Elsewhere the
// desktop's current-user hive is a regedit-syntax file named by
// DRK_REGISTRY, by default $XDG_CONFIG_HOME/drkclient/registry.reg (or
// ~/.config/drkclient/registry.reg). The key is opened, never created: with
// no key (or no file, or an unreadable one), the value reads as 0 and a
// write stores nothing. A value of another type than DWORD reads as 0.

#include <cstdint>
#include <filesystem>

namespace drkclient {

inline constexpr uint32_t kGsmModuleNone = 0;
inline constexpr uint32_t kGsmModuleB = 2;
inline constexpr uint32_t kGsmModuleD = 3;
inline constexpr uint32_t kGsmModuleE = 4;

#ifndef _WIN32
// The registry file in use, from the environment.
std::filesystem::path DesktopRegistryPath();
#endif

uint32_t ReadLastGsmModule();
// True when the value was stored.
bool WriteLastGsmModule(uint32_t variant);

}  // namespace drkclient
