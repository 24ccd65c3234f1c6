#pragma once
// Top-level windows of programs that run on the handheld but not in this
// system (the SIM toolkit loader, say), as device.ini's "OutsideWindows"
// lists them. A program finds such a window by class and title and posts it
// messages; the journal keeps each message, and WM_QUIT ends the window's
// program, so the window leaves device.ini:
//
//   posted WM_QUIT to window STK_LOADER "STK_Loader": its program ends

#include <cstdint>

#include "base/text.h"

namespace platform {

// FindWindow among the outside windows: both texts compared exactly. A
// handle (never 0), or 0 when no such window is open.
uintptr_t FindOutsideWindow(WStringView className, WStringView title);

// PostMessage to a window FindOutsideWindow gave; false with
// kErrorInvalidHandle when the window is not open (any more).
bool PostToOutsideWindow(uintptr_t window, uint32_t message, uintptr_t wParam, intptr_t lParam);

}  // namespace platform
