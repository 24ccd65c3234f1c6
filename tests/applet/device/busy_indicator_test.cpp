// The busy indicator: its wait window on a thread of its own, the bar that
// steps every 100 ms on the device's clock, and a stop that takes effect on
// the indicator's next idle pass, never inside HideBusy.
#include <gtest/gtest.h>

#include "applet/device/my_hour_glass.h"
#include "platform/automation/automation.h"
#include "platform/controls/controls.h"
#include "platform/windows/focus.h"
#include "platform/windows/messages.h"
#include "platform/windows/window_messages.h"
#include "platform/windows/window_styles.h"
#include "tests/platform/windows/window_fixture.h"
#include "tests/support/applet_resources.h"

namespace applet {
namespace {

using namespace platform;
using window_test::WindowTest;

class BusyIndicatorTest : public WindowTest {
 protected:
  ~BusyIndicatorTest() override { StopBusyAndWait(); }

  // Starts an indicator and waits until its window is up.
  std::shared_ptr<CMyHourGlass> Start(Hwnd owner = kNoWindow) {
    ShowBusy(65097, owner);
    auto running = RunningBusyIndicator();
    EXPECT_NE(running, nullptr);
    while (running && !running->DialogWindow() && !running->HasEnded()) std::this_thread::yield();
    EXPECT_TRUE(SettleThreads());
    return running;
  }
  static int Position(Hwnd dialog) {
    return static_cast<int>(SendMessage(GetDlgItem(dialog, kBusyProgressId), PBM_GETPOS, 0, 0));
  }

  test_support::InstalledResources resources_{device_, test_support::kGalleryResources};
};

TEST_F(BusyIndicatorTest, HideBusyWithoutAnIndicatorDoesNothing) {
  EXPECT_EQ(RunningBusyIndicator(), nullptr);
  HideBusy(true);
  HideBusy(false);
  EXPECT_EQ(RunningBusyIndicator(), nullptr);
  EXPECT_TRUE(GetTopLevelWindows().empty());
}

TEST_F(BusyIndicatorTest, TheWaitWindowShowsItsTextAndItsBarStepsEveryHundredMilliseconds) {
  const auto indicator = Start();
  ASSERT_NE(indicator, nullptr);
  const Hwnd dialog = indicator->DialogWindow();
  ASSERT_TRUE(dialog);
  EXPECT_NE(GetWindowThreadId(dialog), GetCurrentThreadId());
  EXPECT_TRUE(IsWindowVisible(dialog));
  EXPECT_EQ(GetWindowText(GetDlgItem(dialog, kBusyTextId)), u"Loading settings…");
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDCANCEL)));
  EXPECT_EQ(Position(dialog), 1);
  const int expected[] = {2, 3, 4, 5, 6, 7, 8, 9, 0, 1, 2};
  for (int step : expected) {
    AdvanceClock(kBusyTimerPeriodMs - 1);
    ASSERT_TRUE(SettleThreads());
    AdvanceClock(1);
    ASSERT_TRUE(SettleThreads());
    EXPECT_EQ(Position(dialog), step);
  }
}

TEST_F(BusyIndicatorTest, TheWindowClosesOnTheIndicatorsNextIdlePassNotInsideHideBusy) {
  const Hwnd owner = window_test::MakeRecorder(u"owner", WS_POPUP | WS_VISIBLE, {0, 26, 240, 294});
  const auto indicator = Start(owner);
  ASSERT_NE(indicator, nullptr);
  const Hwnd dialog = indicator->DialogWindow();
  EXPECT_EQ(GetForegroundWindow(), dialog);
  HideBusy(true);
  EXPECT_EQ(RunningBusyIndicator(), nullptr);
  EXPECT_EQ(GetForegroundWindow(), owner);  // brought back at once
  // The indicator waits for its next message; until then nothing happens.
  ASSERT_TRUE(SettleThreads());
  EXPECT_TRUE(IsWindow(dialog));
  EXPECT_FALSE(indicator->HasEnded());
  // The bar's next step is a message; the idle pass after it closes the
  // window and ends the thread.
  AdvanceClock(kBusyTimerPeriodMs);
  indicator->WaitForEnd();
  EXPECT_TRUE(indicator->HasEnded());
  EXPECT_FALSE(IsWindow(dialog));
}

TEST_F(BusyIndicatorTest, OnlyOneIndicatorRunsAtATime) {
  const auto first = Start();
  const Hwnd firstWindow = first ? first->DialogWindow() : kNoWindow;
  const auto second = Start();
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
  EXPECT_TRUE(IsWindow(firstWindow));  // asked to stop, not yet stopped
  EXPECT_EQ(RunningBusyIndicator(), second);
  // The first was asked to stop when the second started.
  AdvanceClock(kBusyTimerPeriodMs);
  first->WaitForEnd();
  EXPECT_FALSE(IsWindow(firstWindow));
  EXPECT_TRUE(IsWindow(second->DialogWindow()));
}

}  // namespace
}  // namespace applet
