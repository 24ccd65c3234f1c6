#pragma once
// Fonts travel in messages as handles (WM_SETFONT, WM_GETFONT), as on the
// handheld, and whoever made a font keeps it alive while windows use it (a
// dialog keeps its font until it is destroyed). A handle whose font is gone
// reads as no font, and windows then draw with the system font, so a late
// message can never reach a released font.

#include <cstdint>
#include <memory>

#include "platform/font.h"

namespace platform {

// The handle of a font (0 for null).
uintptr_t FontHandle(const std::shared_ptr<const Font>& font);
// The font of a handle, or null when it is unknown or the font is gone.
std::shared_ptr<const Font> FontFromHandle(uintptr_t handle);

}  // namespace platform
