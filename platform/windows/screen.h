#pragma once
// The handheld's screen as programs see it: its size, which can turn between
// portrait and landscape while the device runs, the shell's bars, and the
// soft input panel that slides up over the lower part of the screen.
//
//   +-----------------------+  0
//   | navigation bar        |     kNavigationBarHeight: the Start button, the
//   +-----------------------+     active window's title, the clock
//   |                       |
//   | working area          |     where programs' windows live
//   |                       |
//   +-----------------------+
//   | input panel (when up) |     kInputPanelHeight, just above the menu bar
//   +-----------------------+
//   | menu bar              |     kMenuBarHeight, with the input panel button
//   +-----------------------+  height
//
// The size comes from the device's device.ini when a process first asks
// (and again when another device is made current). Turning the screen and
// moving the input panel tell every top-level window of the process with
// WM_SETTINGCHANGE: SETTINGCHANGE_RESET when the screen turned,
// SPI_SETSIPINFO when the panel moved.

#include <cstdint>

#include "platform/drawing_types.h"
#include "platform/windows/window_types.h"

namespace platform {

inline constexpr int kNavigationBarHeight = 26;
inline constexpr int kMenuBarHeight = 26;
inline constexpr int kInputPanelHeight = 80;

// The screen's size and whether it is portrait (width not larger than
// height).
struct ScreenSize {
  int width = 240;
  int height = 320;
  bool IsPortrait() const { return width <= height; }
};

ScreenSize GetScreenSize();
// The screen without the navigation and menu bars (SPI_GETWORKAREA).
Rect GetWorkArea();

enum class Orientation { Portrait, Landscape };
// Turns the screen: the longer side becomes the height (portrait) or the
// width (landscape). Nothing happens when it already is; otherwise every
// top-level window hears WM_SETTINGCHANGE with SETTINGCHANGE_RESET. Returns
// whether the screen turned.
bool RotateScreen(Orientation orientation);

// The input panel's state (SIPINFO): the on flag, the part of the screen
// programs can still see (the working area above the panel) and the panel's
// own rectangle.
inline constexpr uint32_t SIPF_ON = 0x00000001;
struct SipInfo {
  uint32_t flags = 0;
  Rect visibleDesktop;
  Rect sipRect;
};
SipInfo SipGetInfo();
// Raises or lowers the panel; when its state changes, every top-level
// window hears WM_SETTINGCHANGE with SPI_SETSIPINFO. Returns whether it
// changed.
bool SipShow(bool up);

// The shell's input-panel preference for a window (SHSipPreference).
enum class SipRequest { Unchanged = 0, Up = 1, Down = 2, ForceDown = 3 };
// Up raises the panel, Down and ForceDown lower it (the handheld lowers it
// a moment later on Down unless another field asks for it again; here both
// take effect at once). False when the window does not exist.
bool ShSipPreference(Hwnd hwnd, SipRequest request);

}  // namespace platform
