#pragma once
// Messages between windows: sent (handled before the call returns, on the
// thread the window belongs to) and posted (queued for that thread), the
// message loop's calls, timers, registered messages and broadcasts.
//
// Each thread has one queue. GetMessage hands out, in this order: messages
// other threads are sending to the thread's windows (handled inside the
// call), posted messages in the order they came, the quit request, WM_PAINT
// for a shown window with an invalid area (parents before their children,
// lower siblings before higher ones), and WM_TIMER for a due timer. With
// nothing to hand out, the thread's person (see person.h) may act, and then
// the thread waits until something arrives or its next timer is due on the
// platform clock. Under a manual clock a thread waits until something wakes
// it (a message, SettleThreads, AdvanceClock), and only then looks at the
// clock again.
//
// A timer fires once per due time, however long the wait was: its next due
// time counts from when it fired, as on the handheld.

#include <cstdint>
#include <optional>
#include <string>

#include "base/text.h"
#include "platform/windows/window_types.h"

namespace platform {

// Sending to kBroadcast sends to every top-level window of the process and
// returns 1; the broadcast is journalled ("broadcast NAME wParam lParam").
// Sending to a window that does not exist returns 0 with
// kErrorInvalidHandle.
LResult SendMessage(Hwnd hwnd, uint32_t message, WParam wParam, LParam lParam);
// Posting to kNoWindow queues a thread message for the calling thread.
bool PostMessage(Hwnd hwnd, uint32_t message, WParam wParam, LParam lParam);
void PostQuitMessage(int exitCode);
// Keyboard input for a thread, as the keyboard produces it: the message
// goes to the window that has the thread's focus when it is taken from the
// queue (the active window when none has it), so keys typed after one
// that moved the focus reach the new field. False when the thread has no
// queue.
bool PostKeyboardInput(uint32_t threadId, uint32_t message, WParam wParam, LParam lParam);

// False when WM_QUIT came (msg->wParam holds its code).
bool GetMessage(Msg* msg, Hwnd filter, uint32_t filterMin, uint32_t filterMax);
inline constexpr uint32_t PM_NOREMOVE = 0x0000;
inline constexpr uint32_t PM_REMOVE = 0x0001;
// Never waits; false when nothing is there.
bool PeekMessage(Msg* msg, Hwnd filter, uint32_t filterMin, uint32_t filterMax, uint32_t flags);
LResult DispatchMessage(const Msg& msg);
LResult CallWindowProc(WindowProcedure procedure, Hwnd hwnd, uint32_t message, WParam wParam,
                       LParam lParam);

// A timer on a window (or, with kNoWindow, on the thread). Returns the id
// (a new one for a thread timer), 0 on failure. Setting a timer that exists
// starts it again with the new period.
uintptr_t SetTimer(Hwnd hwnd, uintptr_t id, uint32_t milliseconds, TimerProcedure procedure = nullptr);
bool KillTimer(Hwnd hwnd, uintptr_t id);

// The same number for the same name (letter case aside) within a process;
// 0 for an empty name.
uint32_t RegisterWindowMessage(WStringView name);
// The name of a registered message, or a known message's own name, or its
// number in hex ("0x1234").
std::string MessageName(uint32_t message);

// Modal loops (DialogBox, MessageBox) tell the window system which window
// they run for, so a person can see what the thread is waiting on.
void EnterModalLoop(Hwnd hwnd);
void LeaveModalLoop(Hwnd hwnd);
// The innermost modal window of a thread (0: the calling thread), or none.
Hwnd CurrentModalWindow(uint32_t threadId = 0);

// Waits until every thread other than the caller that has a queue waits for
// messages with nothing to do, handling what is sent to the caller's
// windows meanwhile. Gives up after limitMs of real time (a thread that
// never comes back to its loop) and returns false then.
inline constexpr uint32_t kDefaultSettleLimitMs = 30000;
bool SettleThreads(uint32_t limitMs = kDefaultSettleLimitMs);
// Handles what the calling thread has queued, without waiting: sent and
// posted messages, paints and due timers. Returns the number handled.
int PumpMessages();
// Moves the manual clock on (on a clock that runs by itself, nothing) and
// lets every thread look at its timers.
void AdvanceClock(uint32_t milliseconds);
// When the next timer of another thread than the caller's is due on the
// platform clock; nullopt when none runs.
std::optional<uint64_t> NextTimerOfOtherThreads();
// Wakes every waiting thread to look at its queue and timers again.
void WakeAllThreads();

}  // namespace platform
