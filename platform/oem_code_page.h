#pragma once
// The device's OEM code page: the 8-bit character set of the handheld's
// console and of glyph tables indexed by character code (437 on an American
// English device, 850 on a Western European one). It follows from the
// device's ANSI code page and user locale (device.ini), as the handheld's
// locale tables pair them.

#include <cstdint>
#include <string>
#include <string_view>

#include "base/text.h"

namespace platform {

// The OEM code page that goes with an ANSI code page and a locale tag
// ("en-US").
unsigned OemCodePageFor(unsigned ansiCodePage, std::string_view locale);

// The current device's OEM code page.
unsigned DeviceOemCodePage();

// A character's code in the device's OEM code page; '?' when it has none
// (or needs more than one byte).
uint8_t CharToOem(char16_t ch);
// The same for a text; characters without a code become '?'.
std::string WideToOem(WStringView text);

}  // namespace platform
