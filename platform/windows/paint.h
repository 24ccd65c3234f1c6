#pragma once
// Painting: the areas of windows that must be drawn again, the paint cycle
// and device contexts on windows.
//
// Every top-level window has a surface, a bitmap of its client area's size;
// the window and its children draw there, each clipped to its own client
// area within its ancestors'. The screen renderer puts the surfaces together
// (platform/automation/screen_renderer.h).
//
// An invalid area builds up as a rectangle in client coordinates until the
// window paints. Invalidating a window's area also invalidates its children
// and the higher siblings that overlap it, which paint after it, so what lies
// on top is drawn last. WM_PAINT comes from the thread's queue when nothing
// else is waiting; BeginPaint takes the invalid area (the window becomes
// valid), draws a child's border, lets the window erase its background
// (WM_ERASEBKGND, with the device context in wParam) and hands out a device
// context clipped to the area. A window that handles WM_PAINT without
// BeginPaint is made valid all the same.

#include <memory>
#include <mutex>

#include "platform/device_context.h"
#include "platform/dib_section.h"
#include "platform/drawing_types.h"
#include "platform/windows/window_types.h"

namespace platform {

namespace window_system {
struct WindowSurface;
}

// A device context on a window's part of its surface (GetDC, BeginPaint).
// While it exists it holds its surface, so the renderer never reads half a
// painting. Dropping it releases it (ReleaseDC).
class WindowDc {
 public:
  WindowDc(std::shared_ptr<window_system::WindowSurface> surface, Hwnd hwnd);
  ~WindowDc();
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;

  DeviceContext& Dc() { return dc_; }
  DeviceContext* operator->() { return &dc_; }
  Hwnd Window() const { return hwnd_; }

 private:
  std::shared_ptr<window_system::WindowSurface> surface_;
  std::unique_lock<std::recursive_mutex> lock_;
  Hwnd hwnd_;
  DeviceContext dc_;
};

// A device context on the window's client area, clipped to what of it lies
// within its ancestors; null when the window does not exist.
std::unique_ptr<WindowDc> GetDC(Hwnd hwnd);

struct PaintStruct {
  std::unique_ptr<WindowDc> dc;
  bool erase = false;  // the background still needs erasing
  Rect paint;          // the area to paint, in client coordinates
};
DeviceContext* BeginPaint(Hwnd hwnd, PaintStruct* ps);
bool EndPaint(Hwnd hwnd, PaintStruct* ps);

// A null rectangle stands for the whole client area.
bool InvalidateRect(Hwnd hwnd, const Rect* rect, bool erase);
bool ValidateRect(Hwnd hwnd, const Rect* rect);
// The invalid area; false when the window is valid.
bool GetUpdateRect(Hwnd hwnd, Rect* rect);
// Paints at once (WM_PAINT sent, not queued) the window and its children
// where they are invalid.
bool UpdateWindow(Hwnd hwnd);

// A copy of a top-level window's surface (null when it has none yet).
std::shared_ptr<DibSection> CopyWindowSurface(Hwnd topLevel);

}  // namespace platform
