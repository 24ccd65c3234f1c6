#include "platform/windows/focus.h"

#include "base/errors.h"
#include "platform/windows/messages.h"
#include "platform/windows/window.h"
#include "platform/windows/window_manager.h"
#include "platform/windows/window_messages.h"

namespace platform {

using window_system::WindowManager;
using window_system::WindowRecord;

Hwnd SetActiveWindow(Hwnd hwnd) {
  WindowManager& m = WindowManager::Get();
  Hwnd previous;
  {
    std::lock_guard lock(m.mutex);
    WindowRecord* r = m.Find(hwnd);
    if (r == nullptr || r->parent || r->thread != m.CurrentThreadShared()) {
      SetLastError(r == nullptr ? kErrorInvalidHandle : kErrorInvalidParameter);
      return kNoWindow;
    }
    auto& thread = *r->thread;
    window_system::BringToTopLocked(m, *r);
    m.foreground = hwnd;
    m.NotifyAll();
    if (thread.active == hwnd) return hwnd;
    previous = thread.active;
    thread.active = hwnd;
  }
  if (previous) SendMessage(previous, WM_ACTIVATE, MakeWParam(WA_INACTIVE, 0), ToLParam(hwnd));
  SendMessage(hwnd, WM_ACTIVATE, MakeWParam(WA_ACTIVE, 0), ToLParam(previous));
  return previous;
}

Hwnd GetActiveWindow() {
  WindowManager& m = WindowManager::Get();
  std::lock_guard lock(m.mutex);
  return m.CurrentThread().active;
}

bool SetForegroundWindow(Hwnd hwnd) {
  const Hwnd top = GetTopLevelWindow(hwnd);
  if (!top) {
    SetLastError(kErrorInvalidHandle);
    return false;
  }
  if (GetWindowThreadId(top) == GetCurrentThreadId()) {
    SetActiveWindow(top);
    return GetActiveWindow() == top;
  }
  WindowManager& m = WindowManager::Get();
  {
    std::lock_guard lock(m.mutex);
    WindowRecord* r = m.Find(top);
    if (r == nullptr) return false;
    window_system::BringToTopLocked(m, *r);
    m.foreground = top;
  }
  return PostMessage(top, window_system::kActivateRequest, 0, 0);
}

Hwnd GetForegroundWindow() {
  WindowManager& m = WindowManager::Get();
  std::lock_guard lock(m.mutex);
  return m.foreground;
}

Hwnd SetFocus(Hwnd hwnd) {
  WindowManager& m = WindowManager::Get();
  Hwnd top;
  {
    std::lock_guard lock(m.mutex);
    if (hwnd) {
      WindowRecord* r = m.Find(hwnd);
      if (r == nullptr || r->thread != m.CurrentThreadShared()) {
        SetLastError(r == nullptr ? kErrorInvalidHandle : kErrorAccessDenied);
        return kNoWindow;
      }
      top = m.TopLevelOf(r)->handle;
    }
  }
  if (top && GetActiveWindow() != top) SetActiveWindow(top);
  Hwnd previous;
  {
    std::lock_guard lock(m.mutex);
    if (hwnd && m.Find(hwnd) == nullptr) return kNoWindow;
    auto& thread = m.CurrentThread();
    previous = thread.focus;
    if (previous == hwnd) return previous;
    thread.focus = hwnd;
  }
  if (previous) SendMessage(previous, WM_KILLFOCUS, ToWParam(hwnd), 0);
  if (hwnd) SendMessage(hwnd, WM_SETFOCUS, ToWParam(previous), 0);
  return previous;
}

Hwnd GetFocus() {
  WindowManager& m = WindowManager::Get();
  std::lock_guard lock(m.mutex);
  return m.CurrentThread().focus;
}

Hwnd GetThreadFocus(uint32_t threadId) {
  WindowManager& m = WindowManager::Get();
  std::lock_guard lock(m.mutex);
  for (const auto& thread : m.threads)
    if (thread->id == threadId) return thread->focus;
  return kNoWindow;
}

Hwnd SetCapture(Hwnd hwnd) {
  WindowManager& m = WindowManager::Get();
  Hwnd previous;
  {
    std::lock_guard lock(m.mutex);
    if (m.Find(hwnd) == nullptr) {
      SetLastError(kErrorInvalidHandle);
      return kNoWindow;
    }
    previous = m.capture;
    m.capture = hwnd;
  }
  if (previous && previous != hwnd) SendMessage(previous, WM_CAPTURECHANGED, 0, ToLParam(hwnd));
  return previous;
}

bool ReleaseCapture() {
  WindowManager& m = WindowManager::Get();
  Hwnd previous;
  {
    std::lock_guard lock(m.mutex);
    previous = m.capture;
    m.capture = kNoWindow;
  }
  if (previous) SendMessage(previous, WM_CAPTURECHANGED, 0, 0);
  return true;
}

Hwnd GetCapture() {
  WindowManager& m = WindowManager::Get();
  std::lock_guard lock(m.mutex);
  return m.capture;
}

}  // namespace platform
