#pragma once
// Windows of the handheld's window system: classes, creation and
// destruction, parents and owners, z-order, showing and hiding, position and
// size, client and screen coordinates, texts and window fields.
//
// A child window (WS_CHILD) lives in its parent's client area and moves
// with it; its rectangle is kept in the parent's client coordinates. Any
// other window is top-level: its rectangle is in screen coordinates, and a
// parent given at creation becomes its owner. New child windows go to the
// bottom of their siblings' z-order, so the first control of a dialog stays
// first (the order of tabbing); new top-level windows go to the top.
//
// Windows belong to the thread that created them: their messages are
// handled on that thread, and they are destroyed with it.
//
// Non-client frame: a top-level window with WS_CAPTION has a caption band of
// SM_CYCAPTION between four border lines on top and a border line on its left
// and right; any other window with a border (WS_BORDER, WS_DLGFRAME, a client
// or static edge) has one border line on every side.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/brush.h"
#include "platform/font.h"
#include "platform/drawing_types.h"
#include "base/text.h"
#include "platform/windows/window_types.h"

namespace platform {

struct WindowClass {
  WString name;
  WindowProcedure procedure = nullptr;
  uint32_t style = 0;
  std::shared_ptr<const Brush> background;  // what WM_ERASEBKGND fills with; null: nothing
  int extraBytes = 0;                       // room for GetWindowLong(0), (4), ...
};

// Fails (kErrorAlreadyExists) when a class of that name exists; names are
// compared without regard to letter case.
bool RegisterClass(const WindowClass& windowClass);
bool UnregisterClass(WStringView name);
bool GetClassInfo(WStringView name, WindowClass* out);

// WM_CREATE's lParam points to this.
struct CreateStruct {
  LParam createParams = 0;
  Hwnd parent;
  intptr_t id = 0;
  int x = 0, y = 0, width = 0, height = 0;
  uint32_t style = 0;
  WString className;
  WString text;
  uint32_t exStyle = 0;
};

// Creates a window: WM_CREATE (a result of -1 refuses the window), then
// WM_SIZE and WM_MOVE; shown when the style has WS_VISIBLE. Fails with
// kErrorInvalidParameter for an unknown class or a child without a parent.
Hwnd CreateWindowEx(uint32_t exStyle, WStringView className, WStringView text, uint32_t style, int x,
                    int y, int width, int height, Hwnd parent, intptr_t id, LParam createParams = 0);

// Lets the calling thread see the next window it creates before any message
// reaches it (the framework attaches its objects here). One-shot.
using CreateHook = void (*)(Hwnd hwnd, void* context);
void HookNextWindowCreate(CreateHook hook, void* context);

// Destroys the window, the windows it owns and its children: each gets
// WM_DESTROY, then its children go, then it gets WM_NCDESTROY. Only the
// thread the window belongs to may destroy it (kErrorAccessDenied).
bool DestroyWindow(Hwnd hwnd);

bool IsWindow(Hwnd hwnd);
// Visible itself and every ancestor.
bool IsWindowVisible(Hwnd hwnd);
bool IsWindowEnabled(Hwnd hwnd);
// Returns whether the window was visible before.
bool ShowWindow(Hwnd hwnd, int command);
// Returns whether the window was disabled before. A window that is
// disabled while it holds the focus loses it.
bool EnableWindow(Hwnd hwnd, bool enable);

bool SetWindowPos(Hwnd hwnd, Hwnd insertAfter, int x, int y, int width, int height, uint32_t flags);
bool MoveWindow(Hwnd hwnd, int x, int y, int width, int height, bool repaint);

bool GetWindowRect(Hwnd hwnd, Rect* screen);
bool GetClientRect(Hwnd hwnd, Rect* client);
bool ClientToScreen(Hwnd hwnd, Point* point);
bool ScreenToClient(Hwnd hwnd, Point* point);
// MapWindowPoints for a rectangle: from one window's client coordinates to
// another's (kNoWindow stands for the screen).
bool MapWindowRect(Hwnd from, Hwnd to, Rect* rect);

// A child's parent, or a top-level window's owner.
Hwnd GetParent(Hwnd hwnd);
Hwnd GetWindow(Hwnd hwnd, int relation);
// The top-level window a window belongs to.
Hwnd GetTopLevelWindow(Hwnd hwnd);
bool IsChild(Hwnd parent, Hwnd hwnd);
// The first child with that id (in z-order), or none.
Hwnd GetDlgItem(Hwnd parent, int id);
int GetDlgCtrlID(Hwnd hwnd);
// The children, topmost first.
std::vector<Hwnd> GetChildWindows(Hwnd parent);
// The process's top-level windows, topmost first.
std::vector<Hwnd> GetTopLevelWindows();
// The deepest visible window under a point of the screen, or none.
Hwnd WindowFromPoint(Point screen);
// The thread (CurrentThreadId's numbering) a window belongs to, 0 if none.
uint32_t GetWindowThreadId(Hwnd hwnd);
// The calling thread's number.
uint32_t GetCurrentThreadId();

intptr_t GetWindowLong(Hwnd hwnd, int index);
// Returns the previous value; GWL_STYLE and GWL_EXSTYLE changes take effect
// for the frame at once.
intptr_t SetWindowLong(Hwnd hwnd, int index, intptr_t value);
WString GetClassName(Hwnd hwnd);

// Through WM_SETTEXT and WM_GETTEXT, so controls answer for themselves.
bool SetWindowText(Hwnd hwnd, WStringView text);
WString GetWindowText(Hwnd hwnd);
int GetWindowTextLength(Hwnd hwnd);

// What a window's class keeps for it (the controls' state). The window
// system only stores it and drops it with the window.
void SetWindowClassState(Hwnd hwnd, std::shared_ptr<void> state);
std::shared_ptr<void> GetWindowClassState(Hwnd hwnd);
template <typename T>
std::shared_ptr<T> WindowClassState(Hwnd hwnd) {
  return std::static_pointer_cast<T>(GetWindowClassState(hwnd));
}

// The font a window was given with WM_SETFONT, or the system font.
std::shared_ptr<const Font> GetWindowFont(Hwnd hwnd);

}  // namespace platform
