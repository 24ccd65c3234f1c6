#pragma once
// Window styles, extended styles and dialog styles, with the handheld's
// values. Control styles are in platform/controls/controls.h.

#include <cstdint>

#include "platform/windows/window_types.h"

namespace platform {

inline constexpr uint32_t WS_OVERLAPPED = 0x00000000;
inline constexpr uint32_t WS_POPUP = 0x80000000;
inline constexpr uint32_t WS_CHILD = 0x40000000;
inline constexpr uint32_t WS_VISIBLE = 0x10000000;
inline constexpr uint32_t WS_DISABLED = 0x08000000;
inline constexpr uint32_t WS_CLIPSIBLINGS = 0x04000000;
inline constexpr uint32_t WS_CLIPCHILDREN = 0x02000000;
inline constexpr uint32_t WS_CAPTION = 0x00C00000;  // WS_BORDER | WS_DLGFRAME
inline constexpr uint32_t WS_BORDER = 0x00800000;
inline constexpr uint32_t WS_DLGFRAME = 0x00400000;
inline constexpr uint32_t WS_VSCROLL = 0x00200000;
inline constexpr uint32_t WS_HSCROLL = 0x00100000;
inline constexpr uint32_t WS_SYSMENU = 0x00080000;
inline constexpr uint32_t WS_GROUP = 0x00020000;
inline constexpr uint32_t WS_TABSTOP = 0x00010000;

inline constexpr uint32_t WS_EX_DLGMODALFRAME = 0x00000001;
inline constexpr uint32_t WS_EX_TOPMOST = 0x00000008;
inline constexpr uint32_t WS_EX_WINDOWEDGE = 0x00000100;
inline constexpr uint32_t WS_EX_CLIENTEDGE = 0x00000200;
inline constexpr uint32_t WS_EX_CONTROLPARENT = 0x00010000;
inline constexpr uint32_t WS_EX_STATICEDGE = 0x00020000;

inline constexpr uint32_t DS_ABSALIGN = 0x0001;
inline constexpr uint32_t DS_SETFONT = 0x0040;
inline constexpr uint32_t DS_MODALFRAME = 0x0080;
inline constexpr uint32_t DS_SETFOREGROUND = 0x0200;
inline constexpr uint32_t DS_CONTROL = 0x0400;
inline constexpr uint32_t DS_CENTER = 0x0800;

// Window fields (GetWindowLong/SetWindowLong).
inline constexpr int GWL_WNDPROC = -4;
inline constexpr int GWL_ID = -12;
inline constexpr int GWL_STYLE = -16;
inline constexpr int GWL_EXSTYLE = -20;
inline constexpr int GWL_USERDATA = -21;
// Dialog fields.
inline constexpr int DWL_MSGRESULT = 0;
inline constexpr int DWL_DLGPROC = 4;
inline constexpr int DWL_USER = 8;

// ShowWindow commands.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOWNOACTIVATE = 4;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_SHOWNA = 8;

// SetWindowPos flags and its z-order places.
inline constexpr uint32_t SWP_NOSIZE = 0x0001;
inline constexpr uint32_t SWP_NOMOVE = 0x0002;
inline constexpr uint32_t SWP_NOZORDER = 0x0004;
inline constexpr uint32_t SWP_NOREDRAW = 0x0008;
inline constexpr uint32_t SWP_NOACTIVATE = 0x0010;
inline constexpr uint32_t SWP_FRAMECHANGED = 0x0020;
inline constexpr uint32_t SWP_SHOWWINDOW = 0x0040;
inline constexpr uint32_t SWP_HIDEWINDOW = 0x0080;
inline constexpr uint32_t SWP_NOOWNERZORDER = 0x0200;
inline constexpr Hwnd HWND_TOP{0};
inline constexpr Hwnd HWND_BOTTOM{1};
inline constexpr Hwnd HWND_TOPMOST{0xFFFFFFFF};
inline constexpr Hwnd HWND_NOTOPMOST{0xFFFFFFFE};

// GetWindow relations.
inline constexpr int GW_HWNDFIRST = 0;
inline constexpr int GW_HWNDLAST = 1;
inline constexpr int GW_HWNDNEXT = 2;
inline constexpr int GW_HWNDPREV = 3;
inline constexpr int GW_OWNER = 4;
inline constexpr int GW_CHILD = 5;

}  // namespace platform
