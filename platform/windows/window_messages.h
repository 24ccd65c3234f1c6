#pragma once
// Message numbers, notification codes, key codes and command identifiers of
// the handheld's window services, with their own values.

#include <cstdint>

namespace platform {

// Window messages.
inline constexpr uint32_t WM_NULL = 0x0000;
inline constexpr uint32_t WM_CREATE = 0x0001;
inline constexpr uint32_t WM_DESTROY = 0x0002;
inline constexpr uint32_t WM_MOVE = 0x0003;
inline constexpr uint32_t WM_SIZE = 0x0005;
inline constexpr uint32_t WM_ACTIVATE = 0x0006;
inline constexpr uint32_t WM_SETFOCUS = 0x0007;
inline constexpr uint32_t WM_KILLFOCUS = 0x0008;
inline constexpr uint32_t WM_ENABLE = 0x000A;
inline constexpr uint32_t WM_SETREDRAW = 0x000B;
inline constexpr uint32_t WM_SETTEXT = 0x000C;
inline constexpr uint32_t WM_GETTEXT = 0x000D;
inline constexpr uint32_t WM_GETTEXTLENGTH = 0x000E;
inline constexpr uint32_t WM_PAINT = 0x000F;
inline constexpr uint32_t WM_CLOSE = 0x0010;
inline constexpr uint32_t WM_QUIT = 0x0012;
inline constexpr uint32_t WM_ERASEBKGND = 0x0014;
inline constexpr uint32_t WM_SHOWWINDOW = 0x0018;
inline constexpr uint32_t WM_SETTINGCHANGE = 0x001A;
inline constexpr uint32_t WM_CANCELMODE = 0x001F;
inline constexpr uint32_t WM_NEXTDLGCTL = 0x0028;
inline constexpr uint32_t WM_SETFONT = 0x0030;
inline constexpr uint32_t WM_GETFONT = 0x0031;
inline constexpr uint32_t WM_WINDOWPOSCHANGED = 0x0047;
inline constexpr uint32_t WM_NOTIFY = 0x004E;
inline constexpr uint32_t WM_NCCREATE = 0x0081;
inline constexpr uint32_t WM_NCDESTROY = 0x0082;
inline constexpr uint32_t WM_GETDLGCODE = 0x0087;
inline constexpr uint32_t WM_KEYDOWN = 0x0100;
inline constexpr uint32_t WM_KEYUP = 0x0101;
inline constexpr uint32_t WM_CHAR = 0x0102;
inline constexpr uint32_t WM_INITDIALOG = 0x0110;
inline constexpr uint32_t WM_COMMAND = 0x0111;
inline constexpr uint32_t WM_TIMER = 0x0113;
inline constexpr uint32_t WM_HSCROLL = 0x0114;
inline constexpr uint32_t WM_VSCROLL = 0x0115;
inline constexpr uint32_t WM_CTLCOLORMSGBOX = 0x0132;
inline constexpr uint32_t WM_CTLCOLOREDIT = 0x0133;
inline constexpr uint32_t WM_CTLCOLORLISTBOX = 0x0134;
inline constexpr uint32_t WM_CTLCOLORBTN = 0x0135;
inline constexpr uint32_t WM_CTLCOLORDLG = 0x0136;
inline constexpr uint32_t WM_CTLCOLORSCROLLBAR = 0x0137;
inline constexpr uint32_t WM_CTLCOLORSTATIC = 0x0138;
inline constexpr uint32_t WM_MOUSEMOVE = 0x0200;
inline constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
inline constexpr uint32_t WM_LBUTTONUP = 0x0202;
inline constexpr uint32_t WM_LBUTTONDBLCLK = 0x0203;
inline constexpr uint32_t WM_CAPTURECHANGED = 0x0215;
inline constexpr uint32_t WM_USER = 0x0400;
// Registered messages (RegisterWindowMessage) take numbers from here on.
inline constexpr uint32_t kFirstRegisteredMessage = 0xC000;
inline constexpr uint32_t kLastRegisteredMessage = 0xFFFF;

// WM_ACTIVATE's low word.
inline constexpr uint16_t WA_INACTIVE = 0;
inline constexpr uint16_t WA_ACTIVE = 1;
inline constexpr uint16_t WA_CLICKACTIVE = 2;

// WM_SETTINGCHANGE's wParam: the input panel moved, or the screen turned
// (the shell's reset notice).
inline constexpr uintptr_t SPI_SETSIPINFO = 224;
inline constexpr uintptr_t SETTINGCHANGE_RESET = 0x3002;

// WM_SIZE's wParam.
inline constexpr uintptr_t SIZE_RESTORED = 0;

// Mouse key state in mouse messages' wParam: the pen is down.
inline constexpr uintptr_t MK_LBUTTON = 0x0001;

// WM_GETDLGCODE results.
inline constexpr intptr_t DLGC_WANTARROWS = 0x0001;
inline constexpr intptr_t DLGC_WANTTAB = 0x0002;
inline constexpr intptr_t DLGC_WANTALLKEYS = 0x0004;
inline constexpr intptr_t DLGC_HASSETSEL = 0x0008;
inline constexpr intptr_t DLGC_DEFPUSHBUTTON = 0x0010;
inline constexpr intptr_t DLGC_UNDEFPUSHBUTTON = 0x0020;
inline constexpr intptr_t DLGC_RADIOBUTTON = 0x0040;
inline constexpr intptr_t DLGC_WANTCHARS = 0x0080;
inline constexpr intptr_t DLGC_STATIC = 0x0100;
inline constexpr intptr_t DLGC_BUTTON = 0x2000;

// Dialog messages.
inline constexpr uint32_t DM_GETDEFID = WM_USER + 0;
inline constexpr uint32_t DM_SETDEFID = WM_USER + 1;
// DM_GETDEFID's answer carries this in its high word.
inline constexpr uint16_t DC_HASDEFID = 0x534B;

// Scroll requests (WM_VSCROLL's low word).
inline constexpr uint16_t SB_LINEUP = 0;
inline constexpr uint16_t SB_LINEDOWN = 1;
inline constexpr uint16_t SB_PAGEUP = 2;
inline constexpr uint16_t SB_PAGEDOWN = 3;
inline constexpr uint16_t SB_THUMBPOSITION = 4;
inline constexpr uint16_t SB_THUMBTRACK = 5;
inline constexpr uint16_t SB_TOP = 6;
inline constexpr uint16_t SB_BOTTOM = 7;
inline constexpr uint16_t SB_ENDSCROLL = 8;

// Command identifiers of the standard buttons and message-box answers.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// Virtual key codes.
inline constexpr uint32_t VK_BACK = 0x08;
inline constexpr uint32_t VK_TAB = 0x09;
inline constexpr uint32_t VK_RETURN = 0x0D;
inline constexpr uint32_t VK_SHIFT = 0x10;
inline constexpr uint32_t VK_ESCAPE = 0x1B;
inline constexpr uint32_t VK_SPACE = 0x20;
inline constexpr uint32_t VK_PRIOR = 0x21;
inline constexpr uint32_t VK_NEXT = 0x22;
inline constexpr uint32_t VK_END = 0x23;
inline constexpr uint32_t VK_HOME = 0x24;
inline constexpr uint32_t VK_LEFT = 0x25;
inline constexpr uint32_t VK_UP = 0x26;
inline constexpr uint32_t VK_RIGHT = 0x27;
inline constexpr uint32_t VK_DOWN = 0x28;
inline constexpr uint32_t VK_DELETE = 0x2E;

}  // namespace platform
