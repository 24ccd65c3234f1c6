#include "platform/windows/window_manager.h"

#include <algorithm>
#include <atomic>

#include "base/clock.h"
#include "platform/windows/system_metrics.h"
#include "platform/windows/window_styles.h"

namespace platform::window_system {

namespace {

std::atomic<uint32_t> g_nextThreadId{1};

// Ends a thread's part in the window system: its windows go with it, as
// they do on the handheld, without messages (the objects behind their
// procedures may already be gone), and its queue is dropped.
struct ThreadHolder {
  std::shared_ptr<ThreadState> state;
  ~ThreadHolder() {
    if (!state) return;
    WindowManager& m = WindowManager::Get();
    std::lock_guard lock(m.mutex);
    std::vector<Hwnd> mine;
    for (const auto& [handle, record] : m.windows)
      if (record->thread == state) mine.push_back(handle);
    for (Hwnd h : mine) ForgetWindowLocked(m, h);
    state->alive = false;
    std::erase(m.threads, state);
    // A thread waiting for an answer from this one stops waiting.
    for (auto& sent : state->sent) sent->done = true;
    state->sent.clear();
    m.NotifyAll();
  }
};

thread_local ThreadHolder t_thread;
thread_local uint32_t t_threadId = 0;

}  // namespace

WindowManager& WindowManager::Get() {
  // Never destroyed: threads may still end after static destruction began.
  static WindowManager* manager = new WindowManager;
  return *manager;
}

WindowRecord* WindowManager::Find(Hwnd hwnd) {
  auto it = windows.find(hwnd);
  return it == windows.end() ? nullptr : it->second.get();
}

Hwnd WindowManager::NewHandle() {
  // Skip the numbers that have meanings of their own.
  Hwnd h{nextHandle_++};
  while (h == kBroadcast || h.value >= 0xFFFFFFFE) h = Hwnd{nextHandle_++};
  return h;
}

ThreadState& WindowManager::CurrentThread() { return *CurrentThreadShared(); }

std::shared_ptr<ThreadState> WindowManager::CurrentThreadShared() {
  if (!t_thread.state) {
    t_thread.state = std::make_shared<ThreadState>();
    t_thread.state->id = CurrentThreadId();
    threads.push_back(t_thread.state);
  }
  return t_thread.state;
}

std::vector<Hwnd>& WindowManager::SiblingsOf(const WindowRecord& window) {
  if (window.parent) {
    if (WindowRecord* parent = Find(window.parent)) return parent->children;
  }
  return topLevel;
}

WindowRecord* WindowManager::TopLevelOf(WindowRecord* window) {
  while (window != nullptr && window->parent) window = Find(window->parent);
  return window;
}

bool WindowManager::IsShown(const WindowRecord& window) {
  const WindowRecord* w = &window;
  while (w != nullptr) {
    if ((w->style & WS_VISIBLE) == 0) return false;
    if (!w->parent) return true;
    w = Find(w->parent);
  }
  return false;
}

Rect WindowManager::WindowOnScreen(const WindowRecord& window) {
  if (!window.parent) return window.rect;
  const WindowRecord* parent = Find(window.parent);
  if (parent == nullptr) return window.rect;
  const Rect client = ClientOnScreen(*parent);
  return OffsetRect(window.rect, client.left, client.top);
}

Rect WindowManager::ClientOnScreen(const WindowRecord& window) {
  const Rect outer = WindowOnScreen(window);
  const FrameInsets f = FrameOf(window.style, window.exStyle, static_cast<bool>(window.parent));
  return {outer.left + f.left, outer.top + f.top, std::max(outer.left + f.left, outer.right - f.right),
          std::max(outer.top + f.top, outer.bottom - f.bottom)};
}

Point WindowManager::ClientOriginInSurface(const WindowRecord& window) {
  WindowRecord* top = TopLevelOf(const_cast<WindowRecord*>(&window));
  if (top == nullptr) return {};
  const Rect mine = ClientOnScreen(window);
  const Rect topClient = ClientOnScreen(*top);
  return {mine.left - topClient.left, mine.top - topClient.top};
}

bool HasCaption(uint32_t style, bool isChild) { return !isChild && (style & WS_CAPTION) == WS_CAPTION; }

FrameInsets FrameOf(uint32_t style, uint32_t exStyle, bool isChild) {
  const int bx = GetSystemMetrics(SM_CXBORDER);
  const int by = GetSystemMetrics(SM_CYBORDER);
  if (HasCaption(style, isChild)) {
    // A caption band between frame lines on top, a border line left and
    // right, and none below: a captioned window stands on the bottom of
    // the working area or of the screen.
    return {bx, GetSystemMetrics(SM_CYCAPTION) + 4 * by, bx, 0};
  }
  const bool framed = (style & (WS_BORDER | WS_DLGFRAME)) != 0 ||
                      (exStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME)) != 0;
  if (framed) return {bx, by, bx, by};
  return {};
}

Rect ClientRectOf(const WindowRecord& window) {
  const FrameInsets f = FrameOf(window.style, window.exStyle, static_cast<bool>(window.parent));
  return {0, 0, std::max(0, window.rect.Width() - f.left - f.right),
          std::max(0, window.rect.Height() - f.top - f.bottom)};
}

uint64_t WindowClockNow() { return NowMs(); }

bool ClockIsManual() { return CurrentClock().IsManual(); }

uint32_t CurrentThreadId() {
  if (t_threadId == 0) t_threadId = g_nextThreadId++;
  return t_threadId;
}

void ForgetWindowLocked(WindowManager& m, Hwnd hwnd) {
  WindowRecord* record = m.Find(hwnd);
  if (record == nullptr) return;
  for (Hwnd child : std::vector<Hwnd>(record->children)) ForgetWindowLocked(m, child);
  std::erase(m.SiblingsOf(*record), hwnd);
  for (auto& thread : m.threads) {
    std::erase_if(thread->timers, [&](const Timer& t) { return t.hwnd == hwnd; });
    if (thread->active == hwnd) thread->active = kNoWindow;
    if (thread->focus == hwnd) thread->focus = kNoWindow;
  }
  if (m.foreground == hwnd) m.foreground = kNoWindow;
  if (m.capture == hwnd) m.capture = kNoWindow;
  // Owned windows lose their owner rather than keep a dead handle.
  for (auto& [handle, other] : m.windows)
    if (other->owner == hwnd) other->owner = kNoWindow;
  m.windows.erase(hwnd);
}

}  // namespace platform::window_system
