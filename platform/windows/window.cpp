#include "platform/windows/window.h"

#include <algorithm>
#include <utility>

#include "platform/controls/controls.h"
#include "base/errors.h"
#include "platform/windows/font_handles.h"
#include "platform/windows/focus.h"
#include "platform/windows/messages.h"
#include "platform/windows/window_manager.h"
#include "platform/windows/window_messages.h"
#include "platform/windows/window_styles.h"

namespace platform {

using window_system::WindowClassRecord;
using window_system::WindowManager;
using window_system::WindowRecord;

namespace {

thread_local CreateHook t_createHook = nullptr;
thread_local void* t_createHookContext = nullptr;

WString ClassKey(WStringView name) { return ToUpper(name); }

// Looks a window up under the lock; sets kErrorInvalidHandle when absent.
WindowRecord* FindOrFail(WindowManager& m, Hwnd hwnd) {
  WindowRecord* r = m.Find(hwnd);
  if (r == nullptr) SetLastError(kErrorInvalidHandle);
  return r;
}

LParam SizeParam(const Rect& client) {
  return static_cast<LParam>(static_cast<uint32_t>(client.Width() & 0xFFFF) |
                             static_cast<uint32_t>(client.Height() & 0xFFFF) << 16);
}

bool IsTopLevel(const WindowRecord& r) { return !r.parent; }

// The window of the thread to activate when the active one goes away: its
// owner when that can take it, else the topmost shown and enabled top-level
// window of the thread.
Hwnd NextToActivateLocked(WindowManager& m, const WindowRecord& leaving) {
  if (WindowRecord* owner = m.Find(leaving.owner)) {
    if (owner->thread == leaving.thread && m.IsShown(*owner) && (owner->style & WS_DISABLED) == 0)
      return owner->handle;
  }
  for (Hwnd h : m.topLevel) {
    WindowRecord* r = m.Find(h);
    if (r != nullptr && h != leaving.handle && r->thread == leaving.thread && m.IsShown(*r) &&
        (r->style & WS_DISABLED) == 0)
      return h;
  }
  return kNoWindow;
}

bool IsInside(WindowManager& m, Hwnd ancestor, Hwnd hwnd) {
  for (WindowRecord* r = m.Find(hwnd); r != nullptr; r = m.Find(r->parent))
    if (r->handle == ancestor) return true;
  return false;
}

// The destruction of one window and everything below it, once its owned
// windows are gone.
void DestroyTree(Hwnd hwnd) {
  WindowManager& m = WindowManager::Get();
  std::vector<Hwnd> children;
  {
    std::lock_guard lock(m.mutex);
    WindowRecord* r = m.Find(hwnd);
    if (r == nullptr) return;
    r->destroying = true;
    if (r->parent && m.IsShown(*r)) window_system::InvalidateParentAreaLocked(m, *r, r->rect);
    r->style &= ~WS_VISIBLE;
    auto& thread = *r->thread;
    if (thread.focus && IsInside(m, hwnd, thread.focus)) thread.focus = kNoWindow;
    if (m.capture && IsInside(m, hwnd, m.capture)) m.capture = kNoWindow;
  }
  SendMessage(hwnd, WM_DESTROY, 0, 0);
  {
    std::lock_guard lock(m.mutex);
    if (WindowRecord* r = m.Find(hwnd)) children = r->children;
  }
  for (Hwnd child : children) DestroyTree(child);
  SendMessage(hwnd, WM_NCDESTROY, 0, 0);
  std::lock_guard lock(m.mutex);
  window_system::ForgetWindowLocked(m, hwnd);
  m.NotifyAll();
}

}  // namespace

bool RegisterClass(const WindowClass& windowClass) {
  if (windowClass.name.empty() || windowClass.procedure == nullptr || windowClass.extraBytes < 0) {
    SetLastError(kErrorInvalidParameter);
    return false;
  }
  WindowManager& m = WindowManager::Get();
  std::lock_guard lock(m.mutex);
  const WString key = ClassKey(windowClass.name);
  if (m.classes.count(key) != 0) {
    SetLastError(kErrorAlreadyExists);
    return false;
  }
  auto record = std::make_shared<WindowClassRecord>();
  record->name = windowClass.name;
  record->procedure = windowClass.procedure;
  record->style = windowClass.style;
  record->background = windowClass.background;
  record->extraBytes = windowClass.extraBytes;
  m.classes[key] = std::move(record);
  return true;
}

bool UnregisterClass(WStringView name) {
  WindowManager& m = WindowManager::Get();
  std::lock_guard lock(m.mutex);
  return m.classes.erase(ClassKey(name)) != 0;
}

bool GetClassInfo(WStringView name, WindowClass* out) {
  EnsureStandardClasses();
  WindowManager& m = WindowManager::Get();
  std::lock_guard lock(m.mutex);
  auto it = m.classes.find(ClassKey(name));
  if (it == m.classes.end()) {
    SetLastError(kErrorInvalidParameter);
    return false;
  }
  if (out != nullptr) {
    out->name = it->second->name;
    out->procedure = it->second->procedure;
    out->style = it->second->style;
    out->background = it->second->background;
    out->extraBytes = it->second->extraBytes;
  }
  return true;
}

void HookNextWindowCreate(CreateHook hook, void* context) {
  t_createHook = hook;
  t_createHookContext = context;
}

Hwnd CreateWindowEx(uint32_t exStyle, WStringView className, WStringView text, uint32_t style, int x,
                    int y, int width, int height, Hwnd parent, intptr_t id, LParam createParams) {
  EnsureStandardClasses();
  WindowManager& m = WindowManager::Get();
  Hwnd hwnd;
  const bool child = (style & WS_CHILD) != 0;
  {
    std::lock_guard lock(m.mutex);
    auto cls = m.classes.find(ClassKey(className));
    WindowRecord* parentRecord = parent ? m.Find(parent) : nullptr;
    if (cls == m.classes.end() || (child && parentRecord == nullptr) || (parent && parentRecord == nullptr)) {
      SetLastError(parent && parentRecord == nullptr ? kErrorInvalidHandle : kErrorInvalidParameter);
      return kNoWindow;
    }
    auto record = std::make_unique<WindowRecord>();
    hwnd = m.NewHandle();
    record->handle = hwnd;
    record->windowClass = cls->second;
    record->procedure = cls->second->procedure;
    record->style = style & ~WS_VISIBLE;
    record->exStyle = exStyle;
    record->id = id;
    record->text = WString(text);
    record->rect = {x, y, x + std::max(0, width), y + std::max(0, height)};
    record->rect = ClampToDrawingRange(record->rect);
    record->thread = m.CurrentThreadShared();
    record->extraLongs.assign(static_cast<size_t>((cls->second->extraBytes + 3) / 4), 0);
    if (child) {
      record->parent = parent;
      parentRecord->children.push_back(hwnd);
    } else {
      if (parentRecord != nullptr) record->owner = m.TopLevelOf(parentRecord)->handle;
      m.topLevel.insert(m.topLevel.begin(), hwnd);
    }
    WindowRecord& placed = *record;
    m.windows[hwnd] = std::move(record);
    if (!child) window_system::BringToTopLocked(m, placed);
  }
  if (CreateHook hook = std::exchange(t_createHook, nullptr))
    hook(hwnd, std::exchange(t_createHookContext, nullptr));

  CreateStruct cs;
  cs.createParams = createParams;
  cs.parent = parent;
  cs.id = id;
  cs.x = x;
  cs.y = y;
  cs.width = width;
  cs.height = height;
  cs.style = style;
  cs.className = WString(className);
  cs.text = WString(text);
  cs.exStyle = exStyle;
  if (SendMessage(hwnd, WM_CREATE, 0, reinterpret_cast<LParam>(&cs)) == -1) {
    DestroyWindow(hwnd);
    SetLastError(kErrorInvalidParameter);
    return kNoWindow;
  }
  if (!IsWindow(hwnd)) return kNoWindow;
  Rect client;
  GetClientRect(hwnd, &client);
  SendMessage(hwnd, WM_SIZE, SIZE_RESTORED, SizeParam(client));
  SendMessage(hwnd, WM_MOVE, 0, PointToLParam({x, y}));
  if ((style & WS_VISIBLE) != 0) ShowWindow(hwnd, child ? SW_SHOWNA : SW_SHOW);
  return hwnd;
}

bool DestroyWindow(Hwnd hwnd) {
  WindowManager& m = WindowManager::Get();
  std::vector<Hwnd> owned;
  bool wasActive = false;
  {
    std::lock_guard lock(m.mutex);
    WindowRecord* r = FindOrFail(m, hwnd);
    if (r == nullptr) return false;
    if (r->thread != m.CurrentThreadShared()) {
      SetLastError(kErrorAccessDenied);
      return false;
    }
    if (r->destroying) return true;
    for (const auto& [handle, other] : m.windows)
      if (other->owner == hwnd) owned.push_back(handle);
    wasActive = r->thread->active == hwnd;
  }
  for (Hwnd h : owned) DestroyWindow(h);

  Hwnd next;
  {
    std::lock_guard lock(m.mutex);
    WindowRecord* r = m.Find(hwnd);
    if (r == nullptr) return true;
    if (wasActive) next = NextToActivateLocked(m, *r);
  }
  DestroyTree(hwnd);
  if (wasActive) {
    {
      std::lock_guard lock(m.mutex);
      m.CurrentThread().active = kNoWindow;
    }
    if (next) SetActiveWindow(next);
  }
  return true;
}

bool IsWindow(Hwnd hwnd) {
  WindowManager& m = WindowManager::Get();
  std::lock_guard lock(m.mutex);
  return m.Find(hwnd) != nullptr;
}

bool IsWindowVisible(Hwnd hwnd) {
  WindowManager& m = WindowManager::Get();
  std::lock_guard lock(m.mutex);
  const WindowRecord* r = m.Find(hwnd);
  return r != nullptr && m.IsShown(*r);
}

bool IsWindowEnabled(Hwnd hwnd) {
  WindowManager& m = WindowManager::Get();
  std::lock_guard lock(m.mutex);
  const WindowRecord* r = m.Find(hwnd);
  return r != nullptr && (r->style & WS_DISABLED) == 0;
}

bool ShowWindow(Hwnd hwnd, int command) {
  WindowManager& m = WindowManager::Get();
  const bool show = command != SW_HIDE;
  const bool activate = command == SW_SHOW || command == SW_SHOWNORMAL;
  bool wasVisible = false;
  bool topLevel = false;
  {
    std::lock_guard lock(m.mutex);
    WindowRecord* r = FindOrFail(m, hwnd);
    if (r == nullptr) return false;
    wasVisible = (r->style & WS_VISIBLE) != 0;
    topLevel = IsTopLevel(*r);
  }
  if (wasVisible != show) {
    SendMessage(hwnd, WM_SHOWWINDOW, show ? 1 : 0, 0);
    Hwnd next;
    bool wasActive = false;
    {
      std::lock_guard lock(m.mutex);
      WindowRecord* r = m.Find(hwnd);
      if (r == nullptr) return wasVisible;
      if (show) {
        r->style |= WS_VISIBLE;
        if (topLevel) window_system::BringToTopLocked(m, *r);
        window_system::InvalidateLocked(m, *r, nullptr, true);
      } else {
        if (r->parent && m.IsShown(*r)) window_system::InvalidateParentAreaLocked(m, *r, r->rect);
        r->style &= ~WS_VISIBLE;
        r->invalid = {};
        if (m.capture && IsInside(m, hwnd, m.capture)) m.capture = kNoWindow;
        wasActive = topLevel && r->thread->active == hwnd;
        if (wasActive) next = NextToActivateLocked(m, *r);
      }
      m.NotifyAll();
    }
    if (wasActive) {
      {
        std::lock_guard lock(m.mutex);
        m.CurrentThread().active = kNoWindow;
        if (m.foreground == hwnd) m.foreground = kNoWindow;
      }
      if (next) SetActiveWindow(next);
    }
  }
  if (show && activate && topLevel) {
    if (GetWindowThreadId(hwnd) == GetCurrentThreadId()) {
      SetActiveWindow(hwnd);
    } else {
      SetForegroundWindow(hwnd);
    }
  }
  return wasVisible;
}

bool EnableWindow(Hwnd hwnd, bool enable) {
  WindowManager& m = WindowManager::Get();
  bool wasDisabled = false;
  bool loseFocus = false;
  {
    std::lock_guard lock(m.mutex);
    WindowRecord* r = FindOrFail(m, hwnd);
    if (r == nullptr) return false;
    wasDisabled = (r->style & WS_DISABLED) != 0;
    if (wasDisabled != enable) return wasDisabled;
    if (enable) {
      r->style &= ~WS_DISABLED;
    } else {
      r->style |= WS_DISABLED;
      loseFocus = r->thread == m.CurrentThreadShared() && r->thread->focus == hwnd;
    }
    window_system::InvalidateLocked(m, *r, nullptr, true);
  }
  if (loseFocus) SetFocus(kNoWindow);
  SendMessage(hwnd, WM_ENABLE, enable ? 1 : 0, 0);
  return wasDisabled;
}

bool SetWindowPos(Hwnd hwnd, Hwnd insertAfter, int x, int y, int width, int height, uint32_t flags) {
  WindowManager& m = WindowManager::Get();
  bool moved = false, sized = false, topLevel = false;
  Rect client;
  Rect now;
  {
    std::lock_guard lock(m.mutex);
    WindowRecord* r = FindOrFail(m, hwnd);
    if (r == nullptr) return false;
    topLevel = IsTopLevel(*r);
    Rect next = r->rect;
    if ((flags & SWP_NOMOVE) == 0) next = OffsetRect(next, x - next.left, y - next.top);
    if ((flags & SWP_NOSIZE) == 0) {
      next.right = next.left + std::max(0, width);
      next.bottom = next.top + std::max(0, height);
    }
    next = ClampToDrawingRange(next);
    moved = next.left != r->rect.left || next.top != r->rect.top;
    sized = next.Width() != r->rect.Width() || next.Height() != r->rect.Height();
    const bool shown = m.IsShown(*r);
    if ((moved || sized) && shown && r->parent && (flags & SWP_NOREDRAW) == 0)
      window_system::InvalidateParentAreaLocked(m, *r, r->rect);
    r->rect = next;
    if (sized && r->surface) r->surface.reset();
    if ((flags & SWP_NOZORDER) == 0) {
      auto& siblings = m.SiblingsOf(*r);
      if (topLevel && (insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST)) {
        if (insertAfter == HWND_TOPMOST) {
          r->exStyle |= WS_EX_TOPMOST;
        } else {
          r->exStyle &= ~WS_EX_TOPMOST;
        }
        window_system::BringToTopLocked(m, *r);
      } else if (insertAfter == HWND_TOP && topLevel) {
        window_system::BringToTopLocked(m, *r);
      } else {
        std::erase(siblings, hwnd);
        if (insertAfter == HWND_TOP) {
          siblings.insert(siblings.begin(), hwnd);
        } else if (insertAfter == HWND_BOTTOM) {
          siblings.push_back(hwnd);
        } else {
          auto at = std::find(siblings.begin(), siblings.end(), insertAfter);
          siblings.insert(at == siblings.end() ? siblings.begin() : at + 1, hwnd);
        }
      }
    }
    if (shown && (flags & SWP_NOREDRAW) == 0 &&
        (moved || sized || (flags & (SWP_NOZORDER | SWP_FRAMECHANGED)) != SWP_NOZORDER))
      window_system::InvalidateLocked(m, *r, nullptr, true);
    client = window_system::ClientRectOf(*r);
    now = r->rect;
    m.NotifyAll();
  }
  if (moved) SendMessage(hwnd, WM_MOVE, 0, PointToLParam({now.left, now.top}));
  if (sized) SendMessage(hwnd, WM_SIZE, SIZE_RESTORED, SizeParam(client));
  if ((flags & SWP_SHOWWINDOW) != 0) ShowWindow(hwnd, SW_SHOWNA);
  if ((flags & SWP_HIDEWINDOW) != 0) ShowWindow(hwnd, SW_HIDE);
  if (topLevel && (flags & SWP_NOACTIVATE) == 0 && IsWindowVisible(hwnd) &&
      GetWindowThreadId(hwnd) == GetCurrentThreadId())
    SetActiveWindow(hwnd);
  return true;
}

bool MoveWindow(Hwnd hwnd, int x, int y, int width, int height, bool repaint) {
  return SetWindowPos(hwnd, kNoWindow, x, y, width, height,
                      SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

bool GetWindowRect(Hwnd hwnd, Rect* screen) {
  WindowManager& m = WindowManager::Get();
  std::lock_guard lock(m.mutex);
  WindowRecord* r = FindOrFail(m, hwnd);
  if (r == nullptr || screen == nullptr) return false;
  *screen = m.WindowOnScreen(*r);
  return true;
}

bool GetClientRect(Hwnd hwnd, Rect* client) {
  WindowManager& m = WindowManager::Get();
  std::lock_guard lock(m.mutex);
  WindowRecord* r = FindOrFail(m, hwnd);
  if (r == nullptr || client == nullptr) return false;
  *client = window_system::ClientRectOf(*r);
  return true;
}

bool ClientToScreen(Hwnd hwnd, Point* point) {
  WindowManager& m = WindowManager::Get();
  std::lock_guard lock(m.mutex);
  WindowRecord* r = FindOrFail(m, hwnd);
  if (r == nullptr || point == nullptr) return false;
  const Rect c = m.ClientOnScreen(*r);
  point->x += c.left;
  point->y += c.top;
  return true;
}

bool ScreenToClient(Hwnd hwnd, Point* point) {
  WindowManager& m = WindowManager::Get();
  std::lock_guard lock(m.mutex);
  WindowRecord* r = FindOrFail(m, hwnd);
  if (r == nullptr || point == nullptr) return false;
  const Rect c = m.ClientOnScreen(*r);
  point->x -= c.left;
  point->y -= c.top;
  return true;
}

bool MapWindowRect(Hwnd from, Hwnd to, Rect* rect) {
  if (rect == nullptr) return false;
  Point a{rect->left, rect->top};
  Point b{rect->right, rect->bottom};
  if (from && (!ClientToScreen(from, &a) || !ClientToScreen(from, &b))) return false;
  if (to && (!ScreenToClient(to, &a) || !ScreenToClient(to, &b))) return false;
  *rect = {a.x, a.y, b.x, b.y};
  return true;
}

Hwnd GetParent(Hwnd hwnd) {
  WindowManager& m = WindowManager::Get();
  std::lock_guard lock(m.mutex);
  WindowRecord* r = FindOrFail(m, hwnd);
  if (r == nullptr) return kNoWindow;
  return r->parent ? r->parent : r->owner;
}

Hwnd GetWindow(Hwnd hwnd, int relation) {
  WindowManager& m = WindowManager::Get();
  std::lock_guard lock(m.mutex);
  WindowRecord* r = FindOrFail(m, hwnd);
  if (r == nullptr) return kNoWindow;
  if (relation == GW_OWNER) return r->owner;
  if (relation == GW_CHILD) return r->children.empty() ? kNoWindow : r->children.front();
  const auto& siblings = m.SiblingsOf(*r);
  auto at = std::find(siblings.begin(), siblings.end(), hwnd);
  switch (relation) {
    case GW_HWNDFIRST: return siblings.empty() ? kNoWindow : siblings.front();
    case GW_HWNDLAST: return siblings.empty() ? kNoWindow : siblings.back();
    case GW_HWNDNEXT: return at == siblings.end() || at + 1 == siblings.end() ? kNoWindow : *(at + 1);
    case GW_HWNDPREV: return at == siblings.begin() || at == siblings.end() ? kNoWindow : *(at - 1);
    default: SetLastError(kErrorInvalidParameter); return kNoWindow;
  }
}

Hwnd GetTopLevelWindow(Hwnd hwnd) {
  WindowManager& m = WindowManager::Get();
  std::lock_guard lock(m.mutex);
  WindowRecord* top = m.TopLevelOf(m.Find(hwnd));
  return top == nullptr ? kNoWindow : top->handle;
}

bool IsChild(Hwnd parent, Hwnd hwnd) {
  WindowManager& m = WindowManager::Get();
  std::lock_guard lock(m.mutex);
  return hwnd != parent && IsInside(m, parent, hwnd);
}

Hwnd GetDlgItem(Hwnd parent, int id) {
  WindowManager& m = WindowManager::Get();
  std::lock_guard lock(m.mutex);
  WindowRecord* r = FindOrFail(m, parent);
  if (r == nullptr) return kNoWindow;
  for (Hwnd h : r->children) {
    WindowRecord* c = m.Find(h);
    if (c != nullptr && static_cast<int>(c->id) == id) return h;
  }
  SetLastError(kErrorInvalidParameter);
  return kNoWindow;
}

int GetDlgCtrlID(Hwnd hwnd) {
  WindowManager& m = WindowManager::Get();
  std::lock_guard lock(m.mutex);
  WindowRecord* r = FindOrFail(m, hwnd);
  return r == nullptr ? 0 : static_cast<int>(r->id);
}

std::vector<Hwnd> GetChildWindows(Hwnd parent) {
  WindowManager& m = WindowManager::Get();
  std::lock_guard lock(m.mutex);
  WindowRecord* r = m.Find(parent);
  return r == nullptr ? std::vector<Hwnd>{} : r->children;
}

std::vector<Hwnd> GetTopLevelWindows() {
  WindowManager& m = WindowManager::Get();
  std::lock_guard lock(m.mutex);
  return m.topLevel;
}

Hwnd WindowFromPoint(Point screen) {
  WindowManager& m = WindowManager::Get();
  std::lock_guard lock(m.mutex);
  const std::vector<Hwnd>* candidates = &m.topLevel;
  Hwnd found;
  for (;;) {
    Hwnd hit;
    for (Hwnd h : *candidates) {
      WindowRecord* r = m.Find(h);
      if (r != nullptr && (r->style & WS_VISIBLE) != 0 && m.WindowOnScreen(*r).Contains(screen)) {
        hit = h;
        break;
      }
    }
    if (!hit) return found;
    found = hit;
    WindowRecord* r = m.Find(hit);
    if (!m.ClientOnScreen(*r).Contains(screen)) return found;
    candidates = &r->children;
  }
}

uint32_t GetWindowThreadId(Hwnd hwnd) {
  WindowManager& m = WindowManager::Get();
  std::lock_guard lock(m.mutex);
  WindowRecord* r = m.Find(hwnd);
  return r == nullptr ? 0 : r->thread->id;
}

uint32_t GetCurrentThreadId() { return window_system::CurrentThreadId(); }

intptr_t GetWindowLong(Hwnd hwnd, int index) {
  WindowManager& m = WindowManager::Get();
  std::lock_guard lock(m.mutex);
  WindowRecord* r = FindOrFail(m, hwnd);
  if (r == nullptr) return 0;
  switch (index) {
    case GWL_WNDPROC: return reinterpret_cast<intptr_t>(r->procedure);
    case GWL_ID: return r->id;
    case GWL_STYLE: return static_cast<intptr_t>(r->style);
    case GWL_EXSTYLE: return static_cast<intptr_t>(r->exStyle);
    case GWL_USERDATA: return r->userData;
    default: break;
  }
  if (index >= 0 && index % 4 == 0 && static_cast<size_t>(index / 4) < r->extraLongs.size())
    return r->extraLongs[static_cast<size_t>(index / 4)];
  SetLastError(kErrorInvalidParameter);
  return 0;
}

intptr_t SetWindowLong(Hwnd hwnd, int index, intptr_t value) {
  WindowManager& m = WindowManager::Get();
  std::lock_guard lock(m.mutex);
  WindowRecord* r = FindOrFail(m, hwnd);
  if (r == nullptr) return 0;
  switch (index) {
    case GWL_WNDPROC: {
      if (value == 0) {
        SetLastError(kErrorInvalidParameter);
        return 0;
      }
      return reinterpret_cast<intptr_t>(
          std::exchange(r->procedure, reinterpret_cast<WindowProcedure>(value)));
    }
    case GWL_ID: return std::exchange(r->id, value);
    case GWL_USERDATA: return std::exchange(r->userData, value);
    case GWL_STYLE:
    case GWL_EXSTYLE: {
      uint32_t& field = index == GWL_STYLE ? r->style : r->exStyle;
      const uint32_t old = field;
      field = static_cast<uint32_t>(value);
      if (old != field) {
        r->surface.reset();  // the frame, and with it the client size, may have changed
        if (r->parent && (old & WS_VISIBLE) != 0) window_system::InvalidateParentAreaLocked(m, *r, r->rect);
        window_system::InvalidateLocked(m, *r, nullptr, true);
        m.NotifyAll();
      }
      return static_cast<intptr_t>(old);
    }
    default: break;
  }
  if (index >= 0 && index % 4 == 0 && static_cast<size_t>(index / 4) < r->extraLongs.size())
    return std::exchange(r->extraLongs[static_cast<size_t>(index / 4)], value);
  SetLastError(kErrorInvalidParameter);
  return 0;
}

WString GetClassName(Hwnd hwnd) {
  WindowManager& m = WindowManager::Get();
  std::lock_guard lock(m.mutex);
  WindowRecord* r = FindOrFail(m, hwnd);
  return r == nullptr ? WString() : r->windowClass->name;
}

bool SetWindowText(Hwnd hwnd, WStringView text) {
  const WString terminated(text);
  return SendMessage(hwnd, WM_SETTEXT, 0, reinterpret_cast<LParam>(terminated.c_str())) != 0;
}

WString GetWindowText(Hwnd hwnd) {
  const LResult length = SendMessage(hwnd, WM_GETTEXTLENGTH, 0, 0);
  if (length <= 0) return {};
  WString buffer(static_cast<size_t>(length) + 1, u'\0');
  const LResult copied =
      SendMessage(hwnd, WM_GETTEXT, buffer.size(), reinterpret_cast<LParam>(buffer.data()));
  buffer.resize(static_cast<size_t>(std::clamp<LResult>(copied, 0, length)));
  return buffer;
}

int GetWindowTextLength(Hwnd hwnd) { return static_cast<int>(SendMessage(hwnd, WM_GETTEXTLENGTH, 0, 0)); }

void SetWindowClassState(Hwnd hwnd, std::shared_ptr<void> state) {
  WindowManager& m = WindowManager::Get();
  std::lock_guard lock(m.mutex);
  if (WindowRecord* r = FindOrFail(m, hwnd)) r->classState = std::move(state);
}

std::shared_ptr<void> GetWindowClassState(Hwnd hwnd) {
  WindowManager& m = WindowManager::Get();
  std::lock_guard lock(m.mutex);
  WindowRecord* r = m.Find(hwnd);
  return r == nullptr ? nullptr : r->classState;
}

std::shared_ptr<const Font> GetWindowFont(Hwnd hwnd) {
  uintptr_t handle = 0;
  {
    WindowManager& m = WindowManager::Get();
    std::lock_guard lock(m.mutex);
    if (WindowRecord* r = m.Find(hwnd)) handle = r->font;
  }
  std::shared_ptr<const Font> font = FontFromHandle(handle);
  return font ? font : GetSystemFont();
}

}  // namespace platform
