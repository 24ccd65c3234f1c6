#pragma once
// Inside the window system (not for programs): the table of windows, the
// state of each thread that has windows or a message queue, and the one lock
// that guards both.
//
// Every window record, queue and timer is changed only under the manager's
// mutex, and no window procedure is ever called while it is held: the
// public calls look up what they need under the lock, let go of it, and then
// call out. One condition variable tells every waiting thread that something
// changed (a message arrived, a window became invalid, a thread went idle),
// so each one looks again at what concerns it.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/brush.h"
#include "platform/dib_section.h"
#include "platform/font.h"
#include "base/text.h"
#include "platform/windows/window_types.h"

namespace platform::window_system {

struct WindowClassRecord {
  WString name;
  WindowProcedure procedure = nullptr;
  uint32_t style = 0;
  std::shared_ptr<const Brush> background;  // null: the window erases nothing
  int extraBytes = 0;                       // cbWndExtra: GetWindowLong(0, 4, ...)
};

// The pixels of one top-level window's client area. Its children draw into
// the same bitmap, each clipped to its own part.
struct WindowSurface {
  std::recursive_mutex mutex;
  std::shared_ptr<DibSection> bitmap;
};

struct ThreadState;

struct WindowRecord {
  Hwnd handle;
  std::shared_ptr<const WindowClassRecord> windowClass;
  WindowProcedure procedure = nullptr;
  uint32_t style = 0;
  uint32_t exStyle = 0;
  Hwnd parent;  // child windows only
  Hwnd owner;   // top-level windows only
  std::vector<Hwnd> children;  // z-order, topmost first
  Rect rect;    // the window's rectangle in its parent's client coordinates
                // (in screen coordinates for a top-level window)
  intptr_t id = 0;
  WString text;
  intptr_t userData = 0;
  std::vector<intptr_t> extraLongs;  // the class's extra bytes, one entry per 4
  std::shared_ptr<void> classState;  // what the window's class keeps (controls)
  uintptr_t font = 0;                // WM_SETFONT's handle (font_handles.h)
  std::shared_ptr<ThreadState> thread;
  Rect invalid;  // client coordinates; empty when valid
  bool erase = false;
  std::shared_ptr<WindowSurface> surface;  // top-level windows
  bool destroying = false;
};

struct SentMessage {
  Hwnd hwnd;
  uint32_t message = 0;
  WParam wParam = 0;
  LParam lParam = 0;
  LResult result = 0;
  bool done = false;
};

struct Timer {
  Hwnd hwnd;
  uintptr_t id = 0;
  uint32_t period = 0;
  uint64_t due = 0;
  TimerProcedure procedure = nullptr;
};

// What a thread is doing, as far as the window system can tell.
enum class ThreadWait {
  Running,     // not inside the window system's waits
  ForMessage,  // blocked in GetMessage with nothing to do
  ForReply,    // blocked in SendMessage until another thread answers
};

struct ThreadState {
  uint32_t id = 0;
  std::deque<Msg> posted;
  std::deque<std::shared_ptr<SentMessage>> sent;
  bool quitPosted = false;
  int quitCode = 0;
  std::vector<Timer> timers;
  ThreadWait wait = ThreadWait::Running;
  // While waiting for a message: the filter of that GetMessage.
  Hwnd waitFilter;
  uint32_t waitMin = 0;
  uint32_t waitMax = 0;
  Hwnd active;
  Hwnd focus;
  std::vector<Hwnd> modal;  // the modal loops running, innermost last
  bool alive = true;
};

class WindowManager {
 public:
  static WindowManager& Get();

  std::mutex mutex;
  std::condition_variable changed;

  std::unordered_map<Hwnd, std::unique_ptr<WindowRecord>> windows;
  std::vector<Hwnd> topLevel;  // z-order, topmost first
  std::vector<std::shared_ptr<ThreadState>> threads;
  std::map<WString, std::shared_ptr<const WindowClassRecord>> classes;  // by upper-case name
  std::map<WString, uint32_t> registeredMessages;                       // by upper-case name
  std::map<uint32_t, WString> registeredNames;
  uint32_t nextRegisteredMessage = 0xC000;
  Hwnd foreground;
  Hwnd capture;

  // Under the lock.
  WindowRecord* Find(Hwnd hwnd);
  Hwnd NewHandle();
  // The calling thread's state, made on first use.
  ThreadState& CurrentThread();
  std::shared_ptr<ThreadState> CurrentThreadShared();
  // The sibling list a window sits in.
  std::vector<Hwnd>& SiblingsOf(const WindowRecord& window);
  // The top-level window a window belongs to (itself for a top-level one).
  WindowRecord* TopLevelOf(WindowRecord* window);
  // Visible itself and every ancestor.
  bool IsShown(const WindowRecord& window);
  // The window's client rectangle in screen coordinates.
  Rect ClientOnScreen(const WindowRecord& window);
  Rect WindowOnScreen(const WindowRecord& window);
  // Where the client origin of window lies in its top-level window's client
  // coordinates (its surface's pixels).
  Point ClientOriginInSurface(const WindowRecord& window);
  // Wakes every waiting thread to look again.
  void NotifyAll() { changed.notify_all(); }

 private:
  uint32_t nextHandle_ = 0x10000;
};

// Posted by SetForegroundWindow to a window of another thread, which then
// activates it on its own thread.
inline constexpr uint32_t kActivateRequest = 0x03FF;
// The window of queued keyboard input until it is taken from the queue.
inline constexpr Hwnd kKeyboardFocus{0xFFFFFFFD};

// The non-client frame of a window: how far its client area lies inside
// its window rectangle on each side.
struct FrameInsets {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};
FrameInsets FrameOf(uint32_t style, uint32_t exStyle, bool isChild);
bool HasCaption(uint32_t style, bool isChild);

// A rectangle's client part.
Rect ClientRectOf(const WindowRecord& window);  // in client coordinates (0, 0 origin)

// Milliseconds on the platform clock (never wrapping).
uint64_t WindowClockNow();
// Whether the current clock moves only when told to.
bool ClockIsManual();

// A thread id for messages and automation (small numbers in start order).
uint32_t CurrentThreadId();

// Removes a destroyed window's record and everything that refers to it.
void ForgetWindowLocked(WindowManager& manager, Hwnd hwnd);

}  // namespace platform::window_system

namespace platform::window_system {

// Invalidation under the lock (paint.cpp). A null rectangle means the whole
// client area. Children and higher siblings that overlap the area are
// invalidated with it, so they paint again over what their parent painted.
void InvalidateLocked(WindowManager& manager, WindowRecord& window, const Rect* client, bool erase);
// The part of a parent's client area a child covered (after it was hidden
// or moved away).
void InvalidateParentAreaLocked(WindowManager& manager, WindowRecord& child, const Rect& inParent);
// Moves a top-level window to the top of the z-order (below the topmost
// windows unless it is one), with the windows it owns above it.
void BringToTopLocked(WindowManager& manager, WindowRecord& window);

}  // namespace platform::window_system
