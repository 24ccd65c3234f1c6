#pragma once
// The driver's memory of the radio module variant: the DWORD value
// "Last_GSM_module" under HKEY_CURRENT_USER\Software\Marvane\qzDRK
// (2 = M8346B, 3 = M8346D, 4 = M8346E, 0 = none).
//
// The desktop's current-user hive is a regedit-syntax file named by
// DRK_REGISTRY, by default $XDG_CONFIG_HOME/drkclient/registry.reg (or
// ~/.config/drkclient/registry.reg). The key is opened, never created: with
// no file, no key, or an unreadable file, the value reads as 0 and a write
// stores nothing.

#include <cstdint>
#include <filesystem>

namespace drkclient {

inline constexpr uint32_t kGsmModuleNone = 0;
inline constexpr uint32_t kGsmModuleB = 2;
inline constexpr uint32_t kGsmModuleD = 3;
inline constexpr uint32_t kGsmModuleE = 4;

// The registry file in use, from the environment.
std::filesystem::path DesktopRegistryPath();

uint32_t ReadLastGsmModule();
// True when the value was stored.
bool WriteLastGsmModule(uint32_t variant);

}  // namespace drkclient
