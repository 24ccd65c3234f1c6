// The window system's core: windows and their coordinates, z-order and
// visibility, messages sent and posted within and across threads, timers on
// the manual clock, focus and activation, registered messages and
// broadcasts, the screen's settings changes and system metrics.
#include <gtest/gtest.h>

#include <thread>

#include "platform/journal.h"
#include "platform/device.h"
#include "platform/windows/focus.h"
#include "platform/windows/messages.h"
#include "platform/windows/paint.h"
#include "platform/windows/screen.h"
#include "platform/windows/system_metrics.h"
#include "platform/windows/window_messages.h"
#include "platform/windows/window_styles.h"
#include "tests/platform/windows/window_fixture.h"

namespace platform {
namespace {

using window_test::Log;
using window_test::MakeRecorder;
using window_test::WindowTest;
using Strings = std::vector<std::string>;

class WindowSystemTest : public WindowTest {};

TEST_F(WindowSystemTest, WindowsKeepTheirPlaceInParentAndScreenCoordinates) {
  // A captioned top-level window: caption band and four lines on top, one
  // line left and right, none below.
  const Hwnd top = MakeRecorder(u"top", WS_POPUP | WS_CAPTION, {10, 30, 110, 130});
  const Hwnd bordered = MakeRecorder(u"child", WS_CHILD | WS_BORDER, {5, 6, 25, 16}, top, 7);
  const Hwnd plain = MakeRecorder(u"plain", WS_CHILD, {40, 50, 60, 70}, top, 8);
  ASSERT_TRUE(top && bordered && plain);
  struct Case {
    Hwnd hwnd;
    Rect window;  // screen
    Rect client;  // client coordinates
  } cases[] = {
      {top, {10, 30, 110, 130}, {0, 0, 98, 70}},
      {bordered, {16, 66, 36, 76}, {0, 0, 18, 8}},
      {plain, {51, 110, 71, 130}, {0, 0, 20, 20}},
  };
  for (const Case& c : cases) {
    Rect window, client;
    ASSERT_TRUE(GetWindowRect(c.hwnd, &window));
    ASSERT_TRUE(GetClientRect(c.hwnd, &client));
    EXPECT_EQ(window, c.window) << ToUtf8(GetWindowText(c.hwnd));
    EXPECT_EQ(client, c.client) << ToUtf8(GetWindowText(c.hwnd));
  }
  Point p{1, 2};
  ASSERT_TRUE(ClientToScreen(bordered, &p));
  EXPECT_EQ(p, (Point{18, 69}));
  ASSERT_TRUE(ScreenToClient(top, &p));
  EXPECT_EQ(p, (Point{7, 9}));

  // Children move with their parent.
  ASSERT_TRUE(MoveWindow(top, 0, 26, 100, 100, true));
  Rect moved;
  GetWindowRect(plain, &moved);
  EXPECT_EQ(moved, (Rect{41, 106, 61, 126}));
  EXPECT_EQ(GetParent(plain), top);
  EXPECT_EQ(GetDlgItem(top, 8), plain);
  EXPECT_EQ(GetDlgCtrlID(bordered), 7);
  EXPECT_EQ(GetTopLevelWindow(plain), top);
}

TEST_F(WindowSystemTest, ChildrenKeepCreationOrderAndTopLevelWindowsStackNewestFirst) {
  const Hwnd owner = MakeRecorder(u"owner", WS_POPUP, {0, 0, 50, 50});
  const Hwnd first = MakeRecorder(u"first", WS_CHILD, {0, 0, 5, 5}, owner, 1);
  const Hwnd second = MakeRecorder(u"second", WS_CHILD, {0, 0, 5, 5}, owner, 1);
  EXPECT_EQ(GetChildWindows(owner), (std::vector<Hwnd>{first, second}));
  EXPECT_EQ(GetWindow(owner, GW_CHILD), first);
  EXPECT_EQ(GetWindow(first, GW_HWNDNEXT), second);
  // The first child with an id wins, until another is put on top.
  EXPECT_EQ(GetDlgItem(owner, 1), first);
  SetWindowPos(second, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(GetDlgItem(owner, 1), second);

  const Hwnd owned = MakeRecorder(u"owned", WS_POPUP, {0, 0, 10, 10}, first);
  EXPECT_EQ(GetWindow(owned, GW_OWNER), owner);
  const Hwnd other = MakeRecorder(u"other", WS_POPUP, {0, 0, 10, 10});
  EXPECT_EQ(GetTopLevelWindows().front(), other);
  // Raising the owner brings what it owns along above it.
  SetActiveWindow(owner);
  const auto order = GetTopLevelWindows();
  EXPECT_EQ(order[0], owned);
  EXPECT_EQ(order[1], owner);

  // Destroying the owner takes its owned window and its children along.
  ASSERT_TRUE(DestroyWindow(owner));
  for (Hwnd h : {owner, first, second, owned}) EXPECT_FALSE(IsWindow(h));
  EXPECT_TRUE(IsWindow(other));
  EXPECT_EQ(Log().Only("WM_DESTROY"),
            (Strings{"owned:WM_DESTROY", "owner:WM_DESTROY", "second:WM_DESTROY", "first:WM_DESTROY"}));
}

TEST_F(WindowSystemTest, VisibilityFollowsAncestorsAndPointsFindTheDeepestShownWindow) {
  const Hwnd top = MakeRecorder(u"top", WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
  const Hwnd child = MakeRecorder(u"child", WS_CHILD | WS_VISIBLE, {10, 10, 50, 50}, top);
  const Hwnd hidden = MakeRecorder(u"hidden", WS_CHILD, {60, 60, 90, 90}, top);
  EXPECT_TRUE(IsWindowVisible(child));
  EXPECT_FALSE(IsWindowVisible(hidden));
  EXPECT_EQ(WindowFromPoint({20, 20}), child);
  EXPECT_EQ(WindowFromPoint({70, 70}), top);  // hidden windows take no pen
  EXPECT_EQ(WindowFromPoint({200, 200}), kNoWindow);
  EXPECT_TRUE(ShowWindow(top, SW_HIDE));  // it was visible
  EXPECT_FALSE(IsWindowVisible(child));  // its parent is hidden
  EXPECT_EQ(WindowFromPoint({20, 20}), kNoWindow);
}

TEST_F(WindowSystemTest, PostedMessagesQueueInOrderAndSentOnesAreHandledAtOnce) {
  const Hwnd w = MakeRecorder(u"w", WS_POPUP, {0, 0, 10, 10});
  Log().Take();
  PostMessage(w, WM_USER + 1, 1, 0);
  PostMessage(w, WM_USER + 2, 2, 0);
  SendMessage(w, WM_USER + 3, 3, 0);
  EXPECT_EQ(Log().Take(), Strings{"w:WM_USER+3 3"});
  EXPECT_EQ(PumpMessages(), 2);
  EXPECT_EQ(Log().Take(), (Strings{"w:WM_USER+1 1", "w:WM_USER+2 2"}));
  // Messages to windows that are gone are refused.
  DestroyWindow(w);
  EXPECT_FALSE(PostMessage(w, WM_USER, 0, 0));
  EXPECT_EQ(SendMessage(w, WM_USER, 0, 0), 0);
}

TEST_F(WindowSystemTest, AThreadsWindowsHearSentMessagesOnThatThread) {
  Hwnd remote;
  std::atomic<uint32_t> remoteThread{0};
  std::thread loop([&] {
    remote = MakeRecorder(u"remote", WS_POPUP, {0, 0, 10, 10});
    remoteThread = GetCurrentThreadId();
    Msg msg;
    while (GetMessage(&msg, kNoWindow, 0, 0)) {
      DispatchMessage(msg);
      if (!IsWindow(remote)) PostQuitMessage(0);
    }
  });
  while (remoteThread == 0) std::this_thread::yield();
  ASSERT_TRUE(SettleThreads());
  EXPECT_EQ(GetWindowThreadId(remote), remoteThread.load());
  EXPECT_NE(remoteThread.load(), GetCurrentThreadId());
  Log().Take();
  // A send from here waits for the other thread to handle it there.
  EXPECT_EQ(SendMessage(remote, WM_GETTEXTLENGTH, 0, 0), 6);
  SendMessage(remote, WM_USER + 7, 70, 0);
  EXPECT_EQ(Log().Take(), Strings{"remote:WM_USER+7 70"});
  // Only its own thread may destroy it.
  EXPECT_FALSE(DestroyWindow(remote));
  EXPECT_EQ(LastError(), kErrorAccessDenied);
  PostMessage(remote, WM_CLOSE, 0, 0);
  loop.join();
  EXPECT_FALSE(IsWindow(remote));

  // A thread that ends takes the windows it left behind along.
  std::thread([&] { remote = MakeRecorder(u"left", WS_POPUP, {0, 0, 1, 1}); }).join();
  EXPECT_FALSE(IsWindow(remote));
}

TEST_F(WindowSystemTest, TimersFireOnTheManualClockOncePerDueTime) {
  const Hwnd w = MakeRecorder(u"w", WS_POPUP, {0, 0, 10, 10});
  Log().Take();
  EXPECT_EQ(SetTimer(w, 5, 100), 5u);
  EXPECT_EQ(PumpMessages(), 0);
  clock_.Advance(99);
  EXPECT_EQ(PumpMessages(), 0);
  clock_.Advance(1);
  EXPECT_EQ(PumpMessages(), 1);
  EXPECT_EQ(Log().Take(), Strings{"w:WM_TIMER 5"});
  // A long wait gives one tick, not one per period missed.
  clock_.Advance(1000);
  EXPECT_EQ(PumpMessages(), 1);
  clock_.Advance(100);
  EXPECT_EQ(PumpMessages(), 1);
  EXPECT_TRUE(KillTimer(w, 5));
  EXPECT_FALSE(KillTimer(w, 5));
  clock_.Advance(500);
  EXPECT_EQ(PumpMessages(), 0);
  // A timer set again starts over.
  SetTimer(w, 6, 100);
  clock_.Advance(60);
  SetTimer(w, 6, 100);
  clock_.Advance(60);
  EXPECT_EQ(PumpMessages(), 0);
  clock_.Advance(40);
  EXPECT_EQ(PumpMessages(), 1);
}

TEST_F(WindowSystemTest, ATimerWakesAThreadWaitingOnTheManualClock) {
  std::atomic<Hwnd*> made{nullptr};
  Hwnd w;
  std::thread loop([&] {
    w = MakeRecorder(u"ticking", WS_POPUP, {0, 0, 10, 10});
    SetTimer(w, 1, 100);
    made = &w;
    Msg msg;
    int ticks = 0;
    while (ticks < 2 && GetMessage(&msg, kNoWindow, 0, 0)) {
      if (msg.message == WM_TIMER) ++ticks;
      DispatchMessage(msg);
    }
  });
  while (made == nullptr) std::this_thread::yield();
  ASSERT_TRUE(SettleThreads());
  EXPECT_TRUE(Log().Only("WM_TIMER").empty());
  AdvanceClock(100);
  ASSERT_TRUE(SettleThreads());
  EXPECT_EQ(Log().Only("WM_TIMER"), Strings{"ticking:WM_TIMER 1"});
  AdvanceClock(100);
  loop.join();
  EXPECT_EQ(Log().Only("WM_TIMER").size(), 2u);
}

TEST_F(WindowSystemTest, FocusAndActivationTellBothWindows) {
  const Hwnd a = MakeRecorder(u"a", WS_POPUP | WS_VISIBLE, {0, 0, 50, 50});
  const Hwnd edit = MakeRecorder(u"a.1", WS_CHILD | WS_VISIBLE, {0, 0, 10, 10}, a, 1);
  const Hwnd b = MakeRecorder(u"b", WS_POPUP | WS_VISIBLE, {0, 0, 50, 50});
  EXPECT_EQ(GetActiveWindow(), b);
  EXPECT_EQ(GetForegroundWindow(), b);
  EXPECT_EQ(GetFocus(), b);  // an activated window takes the focus
  Log().Take();
  // Focusing a control of another window activates that window first,
  // which takes the focus for a moment.
  EXPECT_EQ(SetFocus(edit), a);
  EXPECT_EQ(Log().Take(), (Strings{"b:WM_ACTIVATE off", "a:WM_ACTIVATE on", "b:WM_KILLFOCUS", "a:WM_SETFOCUS",
                                   "a:WM_KILLFOCUS", "a.1:WM_SETFOCUS"}));
  EXPECT_EQ(GetActiveWindow(), a);
  EXPECT_EQ(GetTopLevelWindows().front(), a);
  // Disabling the focus takes it away; destroying the active window hands
  // activation to another.
  EnableWindow(edit, false);
  EXPECT_EQ(GetFocus(), kNoWindow);
  DestroyWindow(a);
  EXPECT_EQ(GetActiveWindow(), b);
  // The capture goes with its window's destruction.
  SetCapture(b);
  EXPECT_EQ(GetCapture(), b);
  DestroyWindow(b);
  EXPECT_EQ(GetCapture(), kNoWindow);
}

TEST_F(WindowSystemTest, RegisteredMessagesAndBroadcastsReachEveryTopLevelWindowAndTheJournal) {
  const uint32_t first = RegisterWindowMessage(u"VELMsingleInstanceMsg");
  EXPECT_GE(first, kFirstRegisteredMessage);
  EXPECT_EQ(RegisterWindowMessage(u"velmsingleinstancemsg"), first);
  EXPECT_NE(RegisterWindowMessage(u"Another"), first);
  EXPECT_EQ(RegisterWindowMessage(u""), 0u);

  const Hwnd a = MakeRecorder(u"a", WS_POPUP, {0, 0, 10, 10});
  MakeRecorder(u"a.child", WS_CHILD, {0, 0, 5, 5}, a);
  MakeRecorder(u"b", WS_POPUP | WS_VISIBLE, {0, 0, 10, 10});
  Log().Take();
  SendMessage(kBroadcast, first, 3, 0);
  EXPECT_EQ(Log().Take(), (Strings{"b:VELMsingleInstanceMsg 3", "a:VELMsingleInstanceMsg 3"}));
  PostMessage(kBroadcast, WM_USER + 1, 4, 0);
  PumpMessages();
  EXPECT_EQ(Log().Only("WM_USER+1").size(), 2u);
  const auto journal = CurrentDevice().Journal().Lines();
  ASSERT_GE(journal.size(), 2u);
  EXPECT_NE(journal[journal.size() - 2].find("broadcast VELMsingleInstanceMsg wParam=0x3 lParam=0x0 to 2 windows"),
            std::string::npos);
  EXPECT_NE(journal.back().find("broadcast 0x0401"), std::string::npos);
}

TEST_F(WindowSystemTest, TurningTheScreenAndMovingThePanelTellTopLevelWindows) {
  const Hwnd w = MakeRecorder(u"w", WS_POPUP, {0, 0, 10, 10});
  MakeRecorder(u"w.child", WS_CHILD, {0, 0, 5, 5}, w);
  Log().Take();
  struct Step {
    std::function<bool()> act;
    bool changes;
    Strings heard;
    ScreenSize screen;
    uint32_t panel;
    Rect visible;
  } steps[] = {
      {[] { return RotateScreen(Orientation::Portrait); }, false, {}, {240, 320}, 0, {0, 26, 240, 294}},
      {[] { return SipShow(true); }, true, {"w:WM_SETTINGCHANGE 224"}, {240, 320}, SIPF_ON, {0, 26, 240, 214}},
      {[] { return SipShow(true); }, false, {}, {240, 320}, SIPF_ON, {0, 26, 240, 214}},
      {[] { return RotateScreen(Orientation::Landscape); }, true, {"w:WM_SETTINGCHANGE 12290"}, {320, 240},
       SIPF_ON, {0, 26, 320, 134}},
      {[w] { return ShSipPreference(w, SipRequest::ForceDown); }, true, {"w:WM_SETTINGCHANGE 224"}, {320, 240}, 0,
       {0, 26, 320, 214}},
  };
  for (size_t i = 0; i < std::size(steps); ++i) {
    const Step& s = steps[i];
    EXPECT_EQ(s.act(), s.changes || i == 4) << i;
    EXPECT_EQ(Log().Take(), s.heard) << i;
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), s.screen.width) << i;
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), s.screen.height) << i;
    const SipInfo sip = SipGetInfo();
    EXPECT_EQ(sip.flags, s.panel) << i;
    EXPECT_EQ(sip.visibleDesktop, s.visible) << i;
  }
}

TEST_F(WindowSystemTest, SystemMetricsDescribeTheScreenFromTheDevice) {
  SetScreen(320, 240);
  const std::pair<int, int> metrics[] = {
      {SM_CXSCREEN, 320}, {SM_CYSCREEN, 240}, {SM_CXVSCROLL, 13}, {SM_CYHSCROLL, 13}, {SM_CYCAPTION, 26},
      {SM_CXBORDER, 1},   {SM_CYBORDER, 1},   {SM_CYMENU, 26},    {SM_CYVSCROLL, 13}, {SM_CXHSCROLL, 13},
      {SM_CXFULLSCREEN, 320}, {SM_CYFULLSCREEN, 188}, {SM_CXICON, 32}, {SM_CXSMICON, 16}, {999, 0},
  };
  for (auto [index, value] : metrics) EXPECT_EQ(GetSystemMetrics(index), value) << index;
  EXPECT_FALSE(GetScreenSize().IsPortrait());
  EXPECT_EQ(GetWorkArea(), (Rect{0, 26, 320, 214}));
}

TEST_F(WindowSystemTest, InvalidWindowsPaintParentsFirstAndLowerSiblingsFirst) {
  // The first child created lies on top of the others.
  const Hwnd top = MakeRecorder(u"top", WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
  MakeRecorder(u"upper", WS_CHILD | WS_VISIBLE, {0, 0, 50, 50}, top);
  const Hwnd lower = MakeRecorder(u"lower", WS_CHILD | WS_VISIBLE, {20, 20, 70, 70}, top);
  MakeRecorder(u"apart", WS_CHILD | WS_VISIBLE, {80, 80, 90, 90}, top);
  PumpMessages();
  EXPECT_EQ(Log().Only("WM_PAINT"), (Strings{"top:WM_PAINT", "apart:WM_PAINT", "lower:WM_PAINT", "upper:WM_PAINT"}));
  Log().Take();
  // The lower sibling painted again brings the upper one it overlaps.
  InvalidateRect(lower, nullptr, true);
  PumpMessages();
  EXPECT_EQ(Log().Take(), (Strings{"lower:WM_PAINT", "upper:WM_PAINT"}));
  // Nothing invalid, nothing painted; hidden windows are never painted.
  EXPECT_EQ(PumpMessages(), 0);
  ShowWindow(top, SW_HIDE);
  InvalidateRect(top, nullptr, true);
  EXPECT_EQ(PumpMessages(), 0);
}

}  // namespace
}  // namespace platform
