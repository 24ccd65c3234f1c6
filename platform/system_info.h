#pragma once
// What the handheld tells a program about itself: the operating system's
// version (GetVersionEx) and the platform type text of the system-parameter
// query (SystemParametersInfo with SPI_GETPLATFORMTYPE). Both come from the
// device's device.ini.

#include <cstddef>
#include <cstdint>

#include "base/errors.h"
#include "base/text.h"

namespace platform {

struct OsVersion {
  uint32_t major = 0;
  uint32_t minor = 0;
};

OsVersion GetOsVersion();

// Copies the platform type ("PocketPC" on a Pocket PC) with its terminator
// into buffer. Fails with kErrorInsufficientBuffer, buffer untouched, when
// the text and its terminator do not fit in capacity characters, and with
// kErrorInvalidParameter for a null buffer.
ErrorCode GetPlatformType(char16_t* buffer, size_t capacity);

}  // namespace platform
