// The orientation-aware dialog: the layout of the orientation at creation
// and after each turn, controls hidden by the other template, and the
// scroll bar under the input panel in landscape.
#include <gtest/gtest.h>

#include "applet/device/orientation_dialog.h"
#include "platform/automation/automation.h"
#include "platform/windows/dialog.h"
#include "platform/windows/messages.h"
#include "platform/windows/screen.h"
#include "platform/windows/window_messages.h"
#include "platform/windows/window_styles.h"
#include "tests/platform/windows/window_fixture.h"
#include "tests/support/applet_resources.h"

namespace applet {
namespace {

using namespace platform;
using window_test::WindowTest;

constexpr uint16_t kPortrait = 100;
constexpr uint16_t kLandscape = 101;

class Page : public COrientationDialog {
 public:
  Page() : COrientationDialog(kPortrait, kLandscape, nullptr) {}
  int layouts = 0;

 protected:
  void OnLayoutChanged() override { ++layouts; }
};

class OrientationDialogTest : public WindowTest {
 protected:
  test_support::InstalledResources resources_{device_, test_support::kGalleryResources};

  // Where a template puts a control, in client coordinates.
  static Rect TemplatePlace(uint16_t templateId, int id) {
    const auto t = LoadDialogTemplate(templateId);
    EXPECT_TRUE(t.has_value());
    const Hwnd copy = CreateDialogIndirectParam(*t, kNoWindow, nullptr, 0);
    Rect r;
    GetWindowRect(GetDlgItem(copy, id), &r);
    MapWindowRect(kNoWindow, copy, &r);
    DestroyWindow(copy);
    return r;
  }
  static Rect Place(const COrientationDialog& dialog, int id) {
    Rect r;
    GetWindowRect(dialog.GetDlgItem(id), &r);
    MapWindowRect(kNoWindow, dialog.GetSafeHwnd(), &r);
    return r;
  }
};

TEST_F(OrientationDialogTest, ADialogMadeAfterTheScreenTurnedIsLaidOutForTheScreenNow) {
  Page page;  // constructed in portrait: on the portrait template
  EXPECT_EQ(page.TemplateId(), kPortrait);
  EXPECT_TRUE(page.IsPortraitLayout());
  RotateScreen(Orientation::Landscape);
  ASSERT_TRUE(page.Create(page.TemplateId()));
  EXPECT_FALSE(page.IsPortraitLayout());
  for (int id : {1031, 1046, 1173, 1300, 1, 2})
    EXPECT_EQ(Place(page, id), TemplatePlace(kLandscape, id)) << id;
  // The server list lies beyond the landscape page: hidden.
  EXPECT_FALSE(IsWindowVisible(page.GetDlgItem(1050)));
  // Labels that share the "no id" take their own counterparts' places.
  const auto labels = [](Hwnd parent) {
    std::vector<Rect> out;
    for (Hwnd child : GetChildWindows(parent))
      if (GetDlgCtrlID(child) == 0xFFFF && out.size() < 3) {  // the fourth lies beyond the page
        Rect r;
        GetWindowRect(child, &r);
        MapWindowRect(kNoWindow, parent, &r);
        out.push_back(r);
      }
    return out;
  };
  const auto t = LoadDialogTemplate(kLandscape);
  const Hwnd copy = CreateDialogIndirectParam(*t, kNoWindow, nullptr, 0);
  EXPECT_EQ(labels(page.GetSafeHwnd()), labels(copy));
  DestroyWindow(copy);
  std::vector<Hwnd> unnamed;
  for (Hwnd child : GetChildWindows(page.GetSafeHwnd()))
    if (GetDlgCtrlID(child) == 0xFFFF) unnamed.push_back(child);
  ASSERT_EQ(unnamed.size(), 4u);
  EXPECT_FALSE(IsWindowVisible(unnamed[3]));
  EXPECT_EQ(page.layouts, 0);  // the hook is for turns while it is shown
}

TEST_F(OrientationDialogTest, ReLayoutMovesAndHidesButNeverShowsOrEnables) {
  Page page;
  ASSERT_TRUE(page.Create(kPortrait));
  page.ShowWindow(SW_SHOW);
  ShowWindow(page.GetDlgItem(1300), SW_HIDE);
  EnableWindow(page.GetDlgItem(1), false);
  RotateScreen(Orientation::Landscape);
  EXPECT_EQ(page.layouts, 1);
  EXPECT_EQ(Place(page, 1300), TemplatePlace(kLandscape, 1300));
  EXPECT_FALSE(IsWindowVisible(page.GetDlgItem(1300)));
  EXPECT_FALSE(IsWindowEnabled(page.GetDlgItem(1)));
  EXPECT_FALSE(IsWindowVisible(page.GetDlgItem(1050)));
  // Back in portrait the list has its place again, but stays hidden.
  RotateScreen(Orientation::Portrait);
  EXPECT_EQ(page.layouts, 2);
  EXPECT_EQ(Place(page, 1050), TemplatePlace(kPortrait, 1050));
  EXPECT_FALSE(IsWindowVisible(page.GetDlgItem(1050)));
  // The copies made for the layouts are gone.
  EXPECT_EQ(GetTopLevelWindows().size(), 1u);
  // A settings change that is no turn changes nothing.
  SendMessage(page.GetSafeHwnd(), WM_SETTINGCHANGE, 0, 0);
  EXPECT_EQ(page.layouts, 2);
}

TEST_F(OrientationDialogTest, InPortraitTheScrollBarNeverShows) {
  Page page;
  ASSERT_TRUE(page.Create(kPortrait));
  page.ShowWindow(SW_SHOW);
  for (bool up : {true, false, true}) {
    SipShow(up);
    EXPECT_EQ(page.IsPanelUp(), up);
    EXPECT_FALSE(page.IsScrollActive());
    EXPECT_FALSE(page.ScrollBar().IsWindowVisible());
  }
}

// A landscape screen of 400 x 312: its working area is 260 high, 180 of it
// visible over the input panel. The page is made 300 high.
class TallPage : public COrientationDialog {
 public:
  TallPage() : COrientationDialog(kPortrait, kLandscape, nullptr) { SetFullScreen(false); }
};

TEST_F(OrientationDialogTest, ThePanelInLandscapeBringsAScrollBarThatMovesEveryControl) {
  SetScreen(400, 312);
  TallPage page;
  ASSERT_TRUE(page.Create(page.TemplateId()));
  ASSERT_EQ(page.TemplateId(), kLandscape);
  const Rect window = page.GetWindowRect();
  const Rect client = page.GetClientRect();
  page.MoveWindow({window.left, window.top, window.right, window.top + (window.Height() - client.Height()) + 300});
  page.ShowWindow(SW_SHOW);
  ASSERT_EQ(page.GetClientRect().Height(), 300);
  const Rect okAtTop = Place(page, IDOK);

  SipShow(true);
  ASSERT_TRUE(page.IsScrollActive());
  EXPECT_EQ(page.VisibleArea().Height(), 180);
  const framework::CScrollBar& bar = page.ScrollBar();
  EXPECT_TRUE(bar.IsWindowVisible());
  int min = -1, max = -1;
  bar.GetScrollRange(&min, &max);
  EXPECT_EQ(min, 0);
  EXPECT_EQ(max, 120);
  EXPECT_EQ(Place(page, 0).Height(), 180);  // the bar, as high as what is visible
  // The bar has no id: the OK button stays the control with id 1.
  EXPECT_EQ(GetDlgCtrlID(page.GetDlgItem(IDOK)), IDOK);
  EXPECT_EQ(GetClassName(page.GetDlgItem(IDOK)), u"Button");

  struct Step {
    uint16_t request;
    uint16_t pos;
    int expected;
  } steps[] = {
      {SB_LINEDOWN, 0, 30},  {SB_LINEDOWN, 0, 60},   {SB_LINEUP, 0, 30},  {SB_PAGEDOWN, 0, 120},
      {SB_PAGEUP, 0, 0},     {SB_THUMBTRACK, 77, 77}, {SB_BOTTOM, 0, 120}, {SB_ENDSCROLL, 0, 120},
      {SB_THUMBPOSITION, 500, 120}, {SB_TOP, 0, 0},
  };
  for (const Step& s : steps) {
    SendMessage(page.GetSafeHwnd(), WM_VSCROLL, MakeWParam(s.request, s.pos), ToLParam(bar.GetSafeHwnd()));
    EXPECT_EQ(bar.GetScrollPos(), s.expected) << s.request;
    EXPECT_EQ(Place(page, IDOK), OffsetRect(okAtTop, 0, -s.expected)) << s.request;
  }
  // The bar itself stays where it is.
  SendMessage(page.GetSafeHwnd(), WM_VSCROLL, MakeWParam(SB_LINEDOWN, 0), ToLParam(bar.GetSafeHwnd()));
  EXPECT_EQ(Place(page, 0).top, 0);
  // The panel goes down: the controls scroll back to the top and the bar
  // goes.
  SipShow(false);
  EXPECT_FALSE(page.IsScrollActive());
  EXPECT_FALSE(bar.IsWindowVisible());
  EXPECT_EQ(Place(page, IDOK), okAtTop);
  // Scrolling without the bar is the framework's.
  SendMessage(page.GetSafeHwnd(), WM_VSCROLL, MakeWParam(SB_LINEDOWN, 0), ToLParam(bar.GetSafeHwnd()));
  EXPECT_EQ(Place(page, IDOK), okAtTop);
}

TEST_F(OrientationDialogTest, TurningPortraitWithThePanelUpTakesTheBarAway) {
  RotateScreen(Orientation::Landscape);
  Page page;
  ASSERT_TRUE(page.Create(page.TemplateId()));
  page.ShowWindow(SW_SHOW);
  SipShow(true);
  ASSERT_TRUE(page.IsScrollActive());  // 108 of 188 visible
  SendMessage(page.GetSafeHwnd(), WM_VSCROLL, MakeWParam(SB_LINEDOWN, 0), ToLParam(page.ScrollBar().GetSafeHwnd()));
  RotateScreen(Orientation::Portrait);
  EXPECT_FALSE(page.IsScrollActive());
  EXPECT_FALSE(page.ScrollBar().IsWindowVisible());
  // Laid out from the portrait template, not scrolled.
  EXPECT_EQ(Place(page, IDOK), TemplatePlace(kPortrait, IDOK));
  // SetNoScroll keeps the bar away in landscape too.
  Page quiet;
  quiet.SetNoScroll(true);
  SipShow(false);
  RotateScreen(Orientation::Landscape);
  ASSERT_TRUE(quiet.Create(quiet.TemplateId()));
  SipShow(true);
  EXPECT_FALSE(quiet.IsScrollActive());
}

}  // namespace
}  // namespace applet
