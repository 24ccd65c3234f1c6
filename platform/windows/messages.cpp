#include "platform/windows/messages.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <utility>

#include "base/clock.h"
#include "base/errors.h"
#include "platform/journal.h"
#include "platform/windows/dialog.h"
#include "platform/windows/focus.h"
#include "platform/windows/person.h"
#include "platform/windows/window.h"
#include "platform/windows/window_manager.h"
#include "platform/windows/window_messages.h"
#include "platform/windows/window_styles.h"

namespace platform {

using window_system::SentMessage;
using window_system::ThreadState;
using window_system::ThreadWait;
using window_system::Timer;
using window_system::WindowManager;
using window_system::WindowRecord;

namespace {

// The person and the thread it acts on; guarded by the manager's mutex.
std::shared_ptr<Person> g_person;
uint32_t g_personThread = 0;

bool InFilter(WindowManager& m, const Msg& msg, Hwnd filter, uint32_t min, uint32_t max) {
  if (filter && msg.hwnd != filter) {
    bool inside = false;
    for (WindowRecord* r = m.Find(msg.hwnd); r != nullptr && !inside; r = m.Find(r->parent))
      inside = r->handle == filter;
    if (!inside) return false;
  }
  if (min == 0 && max == 0) return true;
  return msg.message >= min && msg.message <= max;
}

// The first window of the thread to paint: a shown window with an invalid
// area whose ancestors are all valid, lower siblings first, so that what
// lies on top is painted last.
WindowRecord* PaintCandidate(WindowManager& m, WindowRecord& window, const ThreadState& thread) {
  if ((window.style & WS_VISIBLE) == 0) return nullptr;
  if (window.thread.get() == &thread && !window.invalid.IsEmpty()) return &window;
  for (auto it = window.children.rbegin(); it != window.children.rend(); ++it) {
    if (WindowRecord* child = m.Find(*it))
      if (WindowRecord* found = PaintCandidate(m, *child, thread)) return found;
  }
  return nullptr;
}

WindowRecord* PaintCandidate(WindowManager& m, const ThreadState& thread) {
  for (auto it = m.topLevel.rbegin(); it != m.topLevel.rend(); ++it) {
    if (WindowRecord* top = m.Find(*it))
      if (WindowRecord* found = PaintCandidate(m, *top, thread)) return found;
  }
  return nullptr;
}

Timer* DueTimer(ThreadState& thread, uint64_t now, Hwnd filter) {
  Timer* due = nullptr;
  for (Timer& t : thread.timers) {
    if (t.due > now || (filter && t.hwnd != filter)) continue;
    if (due == nullptr || t.due < due->due) due = &t;
  }
  return due;
}

bool HasWork(WindowManager& m, ThreadState& thread, Hwnd filter, uint32_t min, uint32_t max) {
  if (!thread.sent.empty() || thread.quitPosted) return true;
  for (const Msg& msg : thread.posted)
    if (InFilter(m, msg, filter, min, max)) return true;
  if (PaintCandidate(m, thread) != nullptr) return true;
  return DueTimer(thread, window_system::WindowClockNow(), filter) != nullptr;
}

bool OwnsWindows(WindowManager& m, const ThreadState& thread) {
  for (const auto& [handle, record] : m.windows)
    if (record->thread.get() == &thread) return true;
  return !thread.timers.empty();
}

// Handles every message other threads are sending to the calling thread.
void HandleSentMessages() {
  WindowManager& m = WindowManager::Get();
  for (;;) {
    std::shared_ptr<SentMessage> sent;
    WindowProcedure procedure = nullptr;
    {
      std::lock_guard lock(m.mutex);
      ThreadState& me = m.CurrentThread();
      if (me.sent.empty()) return;
      sent = me.sent.front();
      me.sent.pop_front();
      if (WindowRecord* r = m.Find(sent->hwnd)) procedure = r->procedure;
    }
    const LResult result =
        procedure == nullptr ? 0 : procedure(sent->hwnd, sent->message, sent->wParam, sent->lParam);
    std::lock_guard lock(m.mutex);
    sent->result = result;
    sent->done = true;
    m.NotifyAll();
  }
}

void JournalBroadcast(uint32_t message, WParam wParam, LParam lParam, size_t windows) {
  char numbers[96];
  std::snprintf(numbers, sizeof numbers, " wParam=0x%llx lParam=0x%llx to %zu windows",
                static_cast<unsigned long long>(wParam), static_cast<unsigned long long>(lParam), windows);
  JournalEvent("broadcast " + MessageName(message) + numbers);
}

enum class Retrieve { Peek, PeekRemove, Wait };

// GetMessage and PeekMessage.
bool Retrieve(Msg* out, Hwnd filter, uint32_t min, uint32_t max, Retrieve how) {
  WindowManager& m = WindowManager::Get();
  for (;;) {
    HandleSentMessages();
    std::unique_lock lock(m.mutex);
    ThreadState& me = m.CurrentThread();
    if (!me.sent.empty()) continue;
    const bool remove = how != Retrieve::Peek;
    for (auto it = me.posted.begin(); it != me.posted.end();) {
      if (it->hwnd == window_system::kKeyboardFocus && !filter) {
        // Keyboard input goes to the focus of the moment; without one it
        // is dropped.
        const Hwnd target = me.focus ? me.focus : me.active;
        if (!target) {
          it = me.posted.erase(it);
          continue;
        }
        it->hwnd = target;
      }
      if (!InFilter(m, *it, filter, min, max)) {
        ++it;
        continue;
      }
      *out = *it;
      if (remove) me.posted.erase(it);
      return true;
    }
    if (me.quitPosted) {
      *out = Msg{kNoWindow, WM_QUIT, static_cast<WParam>(me.quitCode), 0, GetTickCount(), {}};
      if (remove) me.quitPosted = false;
      return true;
    }
    if (WindowRecord* paint = PaintCandidate(m, me)) {
      if (!filter || InFilter(m, Msg{paint->handle, WM_PAINT}, filter, min, max)) {
        *out = Msg{paint->handle, WM_PAINT, 0, 0, GetTickCount(), {}};
        return true;
      }
    }
    const uint64_t now = window_system::WindowClockNow();
    if (Timer* t = DueTimer(me, now, filter)) {
      *out = Msg{t->hwnd, WM_TIMER, t->id, reinterpret_cast<LParam>(t->procedure),
                 static_cast<uint32_t>(now), {}};
      if (remove) t->due = now + t->period;
      return true;
    }
    if (how != Retrieve::Wait) return false;

    // Nothing to do: the person may act, then the thread waits.
    if (g_person && g_personThread == me.id) {
      std::shared_ptr<Person> person = g_person;
      lock.unlock();
      if (person->OnIdle()) continue;
      lock.lock();
      if (HasWork(m, me, filter, min, max)) continue;
    }
    me.wait = ThreadWait::ForMessage;
    me.waitFilter = filter;
    me.waitMin = min;
    me.waitMax = max;
    m.NotifyAll();
    uint64_t next = UINT64_MAX;
    for (const Timer& t : me.timers)
      if (!filter || t.hwnd == filter) next = std::min(next, t.due);
    if (next != UINT64_MAX && !window_system::ClockIsManual()) {
      const uint64_t waitMs = next > now ? next - now : 0;
      m.changed.wait_for(lock, std::chrono::milliseconds(waitMs));
    } else {
      m.changed.wait(lock);
    }
    me.wait = ThreadWait::Running;
  }
}

const char* KnownMessageName(uint32_t message) {
  switch (message) {
    case WM_CREATE: return "WM_CREATE";
    case WM_DESTROY: return "WM_DESTROY";
    case WM_ACTIVATE: return "WM_ACTIVATE";
    case WM_SETTEXT: return "WM_SETTEXT";
    case WM_PAINT: return "WM_PAINT";
    case WM_CLOSE: return "WM_CLOSE";
    case WM_QUIT: return "WM_QUIT";
    case WM_SETTINGCHANGE: return "WM_SETTINGCHANGE";
    case WM_COMMAND: return "WM_COMMAND";
    case WM_TIMER: return "WM_TIMER";
    default: return nullptr;
  }
}

}  // namespace

LResult SendMessage(Hwnd hwnd, uint32_t message, WParam wParam, LParam lParam) {
  WindowManager& m = WindowManager::Get();
  if (hwnd == kBroadcast) {
    std::vector<Hwnd> targets = GetTopLevelWindows();
    JournalBroadcast(message, wParam, lParam, targets.size());
    for (Hwnd h : targets) SendMessage(h, message, wParam, lParam);
    return 1;
  }
  std::unique_lock lock(m.mutex);
  WindowRecord* r = m.Find(hwnd);
  if (r == nullptr) {
    SetLastError(kErrorInvalidHandle);
    return 0;
  }
  std::shared_ptr<ThreadState> target = r->thread;
  std::shared_ptr<ThreadState> me = m.CurrentThreadShared();
  if (target == me) {
    WindowProcedure procedure = r->procedure;
    lock.unlock();
    return procedure(hwnd, message, wParam, lParam);
  }
  auto sent = std::make_shared<SentMessage>(SentMessage{hwnd, message, wParam, lParam});
  target->sent.push_back(sent);
  m.NotifyAll();
  me->wait = ThreadWait::ForReply;
  while (!sent->done && target->alive) {
    if (!me->sent.empty()) {
      lock.unlock();
      HandleSentMessages();
      lock.lock();
      continue;
    }
    m.changed.wait(lock);
  }
  me->wait = ThreadWait::Running;
  return sent->result;
}

bool PostMessage(Hwnd hwnd, uint32_t message, WParam wParam, LParam lParam) {
  WindowManager& m = WindowManager::Get();
  if (hwnd == kBroadcast) {
    std::vector<Hwnd> targets = GetTopLevelWindows();
    JournalBroadcast(message, wParam, lParam, targets.size());
    for (Hwnd h : targets) PostMessage(h, message, wParam, lParam);
    return true;
  }
  std::lock_guard lock(m.mutex);
  std::shared_ptr<ThreadState> target;
  if (!hwnd) {
    target = m.CurrentThreadShared();
  } else if (WindowRecord* r = m.Find(hwnd)) {
    target = r->thread;
  } else {
    SetLastError(kErrorInvalidHandle);
    return false;
  }
  target->posted.push_back(Msg{hwnd, message, wParam, lParam, GetTickCount(), {}});
  m.NotifyAll();
  return true;
}

bool PostKeyboardInput(uint32_t threadId, uint32_t message, WParam wParam, LParam lParam) {
  WindowManager& m = WindowManager::Get();
  std::lock_guard lock(m.mutex);
  for (auto& thread : m.threads) {
    if (thread->id != threadId) continue;
    thread->posted.push_back(Msg{window_system::kKeyboardFocus, message, wParam, lParam, GetTickCount(), {}});
    m.NotifyAll();
    return true;
  }
  SetLastError(kErrorInvalidParameter);
  return false;
}

void PostQuitMessage(int exitCode) {
  WindowManager& m = WindowManager::Get();
  std::lock_guard lock(m.mutex);
  ThreadState& me = m.CurrentThread();
  me.quitPosted = true;
  me.quitCode = exitCode;
  m.NotifyAll();
}

bool GetMessage(Msg* msg, Hwnd filter, uint32_t filterMin, uint32_t filterMax) {
  if (msg == nullptr) {
    SetLastError(kErrorInvalidParameter);
    return false;
  }
  Retrieve(msg, filter, filterMin, filterMax, Retrieve::Wait);
  return msg->message != WM_QUIT;
}

bool PeekMessage(Msg* msg, Hwnd filter, uint32_t filterMin, uint32_t filterMax, uint32_t flags) {
  if (msg == nullptr) {
    SetLastError(kErrorInvalidParameter);
    return false;
  }
  return Retrieve(msg, filter, filterMin, filterMax,
                  (flags & PM_REMOVE) != 0 ? Retrieve::PeekRemove : Retrieve::Peek);
}

LResult DispatchMessage(const Msg& msg) {
  if (msg.message == WM_TIMER && msg.lParam != 0) {
    reinterpret_cast<TimerProcedure>(msg.lParam)(msg.hwnd, WM_TIMER, msg.wParam, GetTickCount());
    return 0;
  }
  if (!msg.hwnd) return 0;
  WindowManager& m = WindowManager::Get();
  WindowProcedure procedure = nullptr;
  {
    std::lock_guard lock(m.mutex);
    WindowRecord* r = m.Find(msg.hwnd);
    if (r == nullptr || r->thread != m.CurrentThreadShared()) return 0;
    procedure = r->procedure;
  }
  if (msg.message == window_system::kActivateRequest) {
    SetActiveWindow(msg.hwnd);
    return 0;
  }
  const LResult result = procedure(msg.hwnd, msg.message, msg.wParam, msg.lParam);
  if (msg.message == WM_PAINT) {
    // A window that did not paint would be asked again for ever.
    std::lock_guard lock(m.mutex);
    if (WindowRecord* r = m.Find(msg.hwnd)) {
      r->invalid = {};
      r->erase = false;
    }
  }
  return result;
}

LResult CallWindowProc(WindowProcedure procedure, Hwnd hwnd, uint32_t message, WParam wParam,
                       LParam lParam) {
  return procedure == nullptr ? 0 : procedure(hwnd, message, wParam, lParam);
}

uintptr_t SetTimer(Hwnd hwnd, uintptr_t id, uint32_t milliseconds, TimerProcedure procedure) {
  WindowManager& m = WindowManager::Get();
  std::lock_guard lock(m.mutex);
  std::shared_ptr<ThreadState> thread;
  if (hwnd) {
    WindowRecord* r = m.Find(hwnd);
    if (r == nullptr) {
      SetLastError(kErrorInvalidHandle);
      return 0;
    }
    thread = r->thread;
  } else {
    thread = m.CurrentThreadShared();
    // A thread timer gets an id of its own.
    static uintptr_t nextThreadTimer = 0x7F00;
    id = ++nextThreadTimer;
  }
  const uint32_t period = std::max<uint32_t>(milliseconds, 1);
  const uint64_t due = window_system::WindowClockNow() + period;
  for (Timer& t : thread->timers) {
    if (t.hwnd == hwnd && t.id == id) {
      t.period = period;
      t.due = due;
      t.procedure = procedure;
      m.NotifyAll();
      return hwnd ? (id == 0 ? 1 : id) : id;
    }
  }
  thread->timers.push_back(Timer{hwnd, id, period, due, procedure});
  m.NotifyAll();
  return hwnd ? (id == 0 ? 1 : id) : id;
}

bool KillTimer(Hwnd hwnd, uintptr_t id) {
  WindowManager& m = WindowManager::Get();
  std::lock_guard lock(m.mutex);
  for (auto& thread : m.threads) {
    const size_t removed =
        std::erase_if(thread->timers, [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
    if (removed != 0) return true;
  }
  SetLastError(kErrorInvalidParameter);
  return false;
}

uint32_t RegisterWindowMessage(WStringView name) {
  if (name.empty()) {
    SetLastError(kErrorInvalidParameter);
    return 0;
  }
  WindowManager& m = WindowManager::Get();
  std::lock_guard lock(m.mutex);
  const WString key = ToUpper(name);
  auto it = m.registeredMessages.find(key);
  if (it != m.registeredMessages.end()) return it->second;
  if (m.nextRegisteredMessage > kLastRegisteredMessage) {
    SetLastError(kErrorNotEnoughMemory);
    return 0;
  }
  const uint32_t number = m.nextRegisteredMessage++;
  m.registeredMessages[key] = number;
  m.registeredNames[number] = WString(name);
  return number;
}

std::string MessageName(uint32_t message) {
  if (const char* known = KnownMessageName(message)) return known;
  {
    WindowManager& m = WindowManager::Get();
    std::lock_guard lock(m.mutex);
    auto it = m.registeredNames.find(message);
    if (it != m.registeredNames.end()) return ToUtf8(it->second);
  }
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%04X", message);
  return hex;
}

void EnterModalLoop(Hwnd hwnd) {
  WindowManager& m = WindowManager::Get();
  std::lock_guard lock(m.mutex);
  m.CurrentThread().modal.push_back(hwnd);
}

void LeaveModalLoop(Hwnd hwnd) {
  WindowManager& m = WindowManager::Get();
  std::lock_guard lock(m.mutex);
  auto& modal = m.CurrentThread().modal;
  auto it = std::find(modal.rbegin(), modal.rend(), hwnd);
  if (it != modal.rend()) modal.erase(std::next(it).base());
}

Hwnd CurrentModalWindow(uint32_t threadId) {
  WindowManager& m = WindowManager::Get();
  std::lock_guard lock(m.mutex);
  if (threadId == 0) threadId = window_system::CurrentThreadId();
  for (const auto& thread : m.threads) {
    if (thread->id != threadId) continue;
    for (auto it = thread->modal.rbegin(); it != thread->modal.rend(); ++it)
      if (m.Find(*it) != nullptr) return *it;
  }
  return kNoWindow;
}

bool SettleThreads(uint32_t limitMs) {
  WindowManager& m = WindowManager::Get();
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
  std::unique_lock lock(m.mutex);
  const uint32_t myId = window_system::CurrentThreadId();
  for (;;) {
    bool quiet = true;
    for (const auto& thread : m.threads) {
      if (thread->id == myId) continue;
      if (thread->wait == ThreadWait::ForMessage) {
        if (HasWork(m, *thread, thread->waitFilter, thread->waitMin, thread->waitMax)) quiet = false;
      } else if (thread->wait == ThreadWait::ForReply || OwnsWindows(m, *thread)) {
        quiet = false;
      }
    }
    if (quiet) return true;
    bool mineWaiting = false;
    for (const auto& thread : m.threads)
      if (thread->id == myId && !thread->sent.empty()) mineWaiting = true;
    if (mineWaiting) {
      lock.unlock();
      HandleSentMessages();
      lock.lock();
      continue;
    }
    // Threads that wait with work (a timer that came due on a manual
    // clock) look again.
    m.NotifyAll();
    if (m.changed.wait_until(lock, deadline) == std::cv_status::timeout) return false;
  }
}

int PumpMessages() {
  int handled = 0;
  Msg msg;
  while (PeekMessage(&msg, kNoWindow, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    ++handled;
    const Hwnd top = GetTopLevelWindow(msg.hwnd);
    if (top && IsDialogWindow(top) && IsDialogMessage(top, &msg)) continue;
    DispatchMessage(msg);
  }
  return handled;
}

void AdvanceClock(uint32_t milliseconds) {
  if (auto* manual = dynamic_cast<ManualClock*>(&CurrentClock())) manual->Advance(milliseconds);
  WakeAllThreads();
}

std::optional<uint64_t> NextTimerOfOtherThreads() {
  WindowManager& m = WindowManager::Get();
  std::lock_guard lock(m.mutex);
  const uint32_t me = window_system::CurrentThreadId();
  std::optional<uint64_t> next;
  for (const auto& thread : m.threads) {
    if (thread->id == me) continue;
    for (const Timer& t : thread->timers)
      if (!next || t.due < *next) next = t.due;
  }
  return next;
}

void WakeAllThreads() {
  WindowManager& m = WindowManager::Get();
  std::lock_guard lock(m.mutex);
  m.NotifyAll();
}

std::shared_ptr<Person> SetPerson(std::shared_ptr<Person> person) {
  WindowManager& m = WindowManager::Get();
  std::lock_guard lock(m.mutex);
  g_personThread = window_system::CurrentThreadId();
  return std::exchange(g_person, std::move(person));
}

std::shared_ptr<Person> CurrentPerson() {
  WindowManager& m = WindowManager::Get();
  std::lock_guard lock(m.mutex);
  return g_person;
}

uint32_t PersonThreadId() {
  WindowManager& m = WindowManager::Get();
  std::lock_guard lock(m.mutex);
  return g_personThread;
}

ScopedPerson::ScopedPerson(std::shared_ptr<Person> person) {
  previousThread_ = PersonThreadId();
  previous_ = SetPerson(std::move(person));
}

ScopedPerson::~ScopedPerson() {
  std::shared_ptr<Person> leaving;  // goes after the lock: a person may still act as it leaves
  WindowManager& m = WindowManager::Get();
  std::lock_guard lock(m.mutex);
  leaving = std::exchange(g_person, std::move(previous_));
  g_personThread = previousThread_;
}

}  // namespace platform
