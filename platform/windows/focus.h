#pragma once
// Where input goes: the active window of each thread, the foreground window
// of the device, the keyboard focus of each thread and the pen capture.
//
// Activating a top-level window sends WM_ACTIVATE (WA_INACTIVE) to the one
// that was active on the thread and WM_ACTIVATE (WA_ACTIVE) to the new one,
// brings it to the top and makes it the foreground window. Giving a window
// the focus activates its top-level window first, then sends WM_KILLFOCUS
// to the window that had it and WM_SETFOCUS to the new one. Both work only
// for windows of the calling thread; SetForegroundWindow also reaches
// another thread's window, which that thread then activates.

#include "platform/windows/window_types.h"

namespace platform {

// Returns the window that had the focus before, or none (also on failure).
Hwnd SetFocus(Hwnd hwnd);
Hwnd GetFocus();
// Returns the window that was active before.
Hwnd SetActiveWindow(Hwnd hwnd);
Hwnd GetActiveWindow();
bool SetForegroundWindow(Hwnd hwnd);
Hwnd GetForegroundWindow();
// The pen's input goes to the capture window until it is released; the
// window losing it hears WM_CAPTURECHANGED.
Hwnd SetCapture(Hwnd hwnd);
bool ReleaseCapture();
Hwnd GetCapture();
// The focus of a given thread (for automation, which types into it).
Hwnd GetThreadFocus(uint32_t threadId);

}  // namespace platform
