#pragma once
// Which family of desktop system the driver runs on, decided once per load:
// the NT family drives the port through the communication functions, the
// other systems through the serial device's I/O control codes
// (flashclient/serial/).
//
// On Windows the family is read from the registry: the text value
// "CurrentVersion" of the key "SOFTWARE\Microsoft\Windows NT\CurrentVersion"
// under HKEY_LOCAL_MACHINE, which only NT-family systems have. The POSIX
// build drives its terminals as the NT 5.x family does.

#include <cstdint>
#include <string_view>

namespace drkclient {

inline constexpr int32_t kOsFamilyOther = 0;
inline constexpr int32_t kOsFamilyNt4 = 1;  // NT 3.x and 4.x
inline constexpr int32_t kOsFamilyNt5 = 2;  // NT 5.x and every later NT
inline constexpr int32_t kOsFamilyUnknown = -1;

// The family, cached in DriverState's osFamily after the first call.
int32_t DetectOsFamily();

// The family a "CurrentVersion" text names by its major version number (the
// digits before the first dot): 3 and 4 are family 1, 5 and later family 2
// (NT 6.x and 10 still write "6.3" there), anything else 0.
int32_t OsFamilyFromVersion(std::string_view currentVersion);

// Reads the family from the system, uncached.
int32_t ReadOsFamily();

}  // namespace drkclient
