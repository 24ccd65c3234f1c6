#pragma once
// Icon handles (HICON): an icon image that the platform keeps under a
// number until DestroyIcon, so that a 32-bit field such as the control
// panel's NEWCPLINFO.hIcon can carry it. Handles are never 0, and a
// destroyed handle is not given out again in the process.

#include <cstdint>
#include <optional>

#include "platform/resource_icon.h"

namespace platform {

using IconHandle = uint32_t;

IconHandle CreateIconHandle(IconImage image);
// The image of a live handle.
std::optional<IconImage> IconOfHandle(IconHandle handle);
// False for a handle that is not live.
bool DestroyIcon(IconHandle handle);

}  // namespace platform
