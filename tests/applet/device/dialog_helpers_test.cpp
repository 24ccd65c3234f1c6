// The dialog helpers: the page header, the requests for the input panel,
// the empty-field test, the wide Cancel button, the dialog that runs its
// work once, and the address field that checks its number.
#include <gtest/gtest.h>

#include "applet/device/auto_run_dialog.h"
#include "applet/device/dialog_helpers.h"
#include "applet/device/octet_edit.h"
#include "applet/device/orientation_dialog.h"
#include "platform/automation/automation.h"
#include "platform/automation/screen_renderer.h"
#include "platform/controls/controls.h"
#include "platform/windows/focus.h"
#include "platform/windows/message_box.h"
#include "platform/windows/messages.h"
#include "platform/windows/paint.h"
#include "platform/windows/screen.h"
#include "platform/windows/window_messages.h"
#include "platform/windows/window_styles.h"
#include "tests/platform/windows/window_fixture.h"
#include "tests/support/applet_resources.h"

namespace applet {
namespace {

using namespace platform;
namespace automation = platform::automation;
using window_test::StepsPerson;
using window_test::WindowTest;
using Steps = std::vector<std::function<void()>>;

constexpr uint16_t kPortrait = 100;
constexpr uint16_t kLandscape = 101;
constexpr ColorRef kHeaderBlue = Rgb(0, 0, 156);

class HelpersTest : public WindowTest {
 protected:
  test_support::InstalledResources resources_{device_, test_support::kGalleryResources};
};

class HeaderPage : public COrientationDialog {
 public:
  HeaderPage() : COrientationDialog(kPortrait, kLandscape, nullptr) {}
  int paints = 0;

 protected:
  void OnPaint() override {
    ++paints;
    DrawDialogHeader(*this, 1155);
  }
};

// The screen's pixels within a rectangle that have the colour.
int CountColor(const DibSection& screen, const Rect& area, ColorRef color) {
  int n = 0;
  for (int y = std::max(0, area.top); y < std::min(screen.Height(), area.bottom); ++y)
    for (int x = std::max(0, area.left); x < std::min(screen.Width(), area.right); ++x)
      if (screen.PixelColor(x, y) == color) ++n;
  return n;
}

TEST_F(HelpersTest, TheHeaderIsDrawnInPlaceOfItsControlOverALine) {
  HeaderPage page;
  ASSERT_TRUE(page.Create(kPortrait));
  page.ShowWindow(SW_SHOW);
  const Hwnd title = page.GetDlgItem(1155);
  Rect titleRect;
  GetWindowRect(title, &titleRect);
  ASSERT_TRUE(automation::Settle());
  EXPECT_FALSE(IsWindowVisible(title));
  const auto screen = RenderScreen();
  ASSERT_NE(screen, nullptr);
  // Bold dark blue text where the control was; the line five pixels below
  // its bottom, across the whole dialog.
  EXPECT_GT(CountColor(*screen, titleRect, kHeaderBlue), 20);
  const int lineY = titleRect.bottom + 5;
  EXPECT_EQ(CountColor(*screen, {0, lineY, 240, lineY + 1}, Rgb(0, 0, 0)), 240);
  EXPECT_EQ(CountColor(*screen, {0, lineY - 1, 240, lineY}, Rgb(0, 0, 0)), 0);
  // Painting again draws the same, and the page comes to rest.
  const int paints = page.paints;
  page.Invalidate();
  ASSERT_TRUE(automation::Settle());
  EXPECT_GT(page.paints, paints);
  EXPECT_EQ(CountColor(*RenderScreen(), {0, lineY, 240, lineY + 1}, Rgb(0, 0, 0)), 240);
  EXPECT_FALSE(GetUpdateRect(page.GetSafeHwnd(), nullptr));
}

TEST_F(HelpersTest, AHeaderlessDialogPaintsAsUsual) {
  HeaderPage page;
  ASSERT_TRUE(page.Create(kPortrait));
  DestroyWindow(page.GetDlgItem(1155));
  page.ShowWindow(SW_SHOW);
  ASSERT_TRUE(automation::Settle());
  EXPECT_EQ(page.paints, 1);  // painted once, not asked again and again
  const auto screen = RenderScreen();
  EXPECT_EQ(CountColor(*screen, {0, 26, 240, 50}, kHeaderBlue), 0);
  EXPECT_EQ(CountColor(*screen, {0, 26, 240, 50}, Rgb(255, 255, 255)), 240 * 24);
}

TEST_F(HelpersTest, TheInputPanelIsAskedForInPortraitOnly) {
  const Hwnd field = window_test::MakeRecorder(u"field", WS_POPUP, {0, 0, 10, 10});
  struct Case {
    Orientation screen;
    bool up, force;
    bool result;
    bool panelAfter;
  } cases[] = {
      {Orientation::Portrait, true, false, true, true},
      {Orientation::Portrait, false, false, true, false},
      {Orientation::Portrait, true, false, true, true},
      {Orientation::Portrait, false, true, true, false},
      {Orientation::Landscape, true, false, false, false},  // nothing asked
      {Orientation::Landscape, true, true, false, false},
  };
  for (const Case& c : cases) {
    RotateScreen(c.screen);
    EXPECT_EQ(RequestInputPanel(field, c.up, c.force), c.result);
    EXPECT_EQ((SipGetInfo().flags & SIPF_ON) != 0, c.panelAfter);
  }
  SipShow(true);
  EXPECT_FALSE(RequestInputPanel(field, false, true));  // landscape: the panel stays up
  EXPECT_TRUE((SipGetInfo().flags & SIPF_ON) != 0);
}

TEST_F(HelpersTest, IsTextEmptyReadsTheControlsText) {
  const Hwnd parent = window_test::MakeRecorder(u"parent", WS_POPUP, {0, 0, 100, 100});
  const Hwnd edit = CreateWindowEx(0, kEditClass, u"", WS_CHILD, 0, 0, 50, 20, parent, 1);
  const Hwnd combo = CreateWindowEx(0, kComboBoxClass, u"", WS_CHILD | CBS_DROPDOWNLIST, 0, 0, 50, 60, parent, 2);
  EXPECT_TRUE(IsTextEmpty(edit));
  SetWindowText(edit, u" ");
  EXPECT_FALSE(IsTextEmpty(edit));
  EXPECT_TRUE(IsTextEmpty(combo));
  SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LParam>(u"x"));
  SendMessage(combo, CB_SETCURSEL, 0, 0);
  EXPECT_FALSE(IsTextEmpty(combo));
}

TEST_F(HelpersTest, TheCancelButtonStretchesFromTheControlToTheOkButton) {
  HeaderPage page;
  ASSERT_TRUE(page.Create(kPortrait));
  const auto place = [&](int id) {
    Rect r;
    GetWindowRect(page.GetDlgItem(id), &r);
    MapWindowRect(kNoWindow, page.GetSafeHwnd(), &r);
    return r;
  };
  const Rect from = place(1300);
  const Rect ok = place(IDOK);
  WidenCancelButton(page, 4242);  // no such control: nothing happens
  EXPECT_NE(GetWindowLong(page.GetDlgItem(IDOK), GWL_STYLE) & WS_VISIBLE, 0);
  WidenCancelButton(page, 1300);
  EXPECT_EQ(place(IDCANCEL), (Rect{from.left, from.top, ok.right, ok.bottom}));
  EXPECT_EQ(GetWindowLong(page.GetDlgItem(1300), GWL_STYLE) & WS_VISIBLE, 0);
  EXPECT_EQ(GetWindowLong(page.GetDlgItem(IDOK), GWL_STYLE) & WS_VISIBLE, 0);
}

class CountingRun : public CAutoRunDialog {
 public:
  explicit CountingRun(int result) : CAutoRunDialog(kPortrait), result_(result) {}
  int works = 0;
  int paints = 0;

 protected:
  int Work() override {
    ++works;
    EXPECT_GE(paints, 2);  // after the first paint, and the one right after it
    return result_;
  }
  void OnPaint() override {
    CAutoRunDialog::OnPaint();
    // Painted again before the work's message comes.
    if (++paints == 1) {
      Invalidate();
      UpdateWindow();
    }
  }

 private:
  int result_;
};

TEST_F(HelpersTest, AnAutoRunDialogWorksOnceAfterItsFirstPaintAndClosesItself) {
  for (auto [work, ends] : {std::pair{1, IDOK}, std::pair{0, IDCANCEL}, std::pair{7, IDOK}}) {
    CountingRun run(work);
    EXPECT_EQ(run.DoModal(), ends) << work;
    EXPECT_EQ(run.works, 1) << work;
  }
}

class OctetPage : public COrientationDialog {
 public:
  OctetPage() : COrientationDialog(kPortrait, kLandscape, nullptr) {
    first.SetNextField(&second);
  }
  COctetEdit first;
  COctetEdit second;
  COctetEdit last;  // no next field

 protected:
  void DoDataExchange(framework::CDataExchange* dx) override {
    framework::DDX_Control(dx, 1034, first);
    framework::DDX_Control(dx, 1035, second);
    framework::DDX_Control(dx, 1037, last);
  }
  bool OnInitDialog() override {
    COrientationDialog::OnInitDialog();
    for (COctetEdit* e : {&first, &second, &last}) e->SetLimitText(3);
    return true;
  }
};

TEST_F(HelpersTest, AFullAddressFieldChecksItsNumberAndMovesOn) {
  OctetPage page;
  std::optional<MessageBoxContent> shown;
  Steps steps = {
      [&] {
        automation::Click(page.first.GetSafeHwnd());
        automation::TypeText(u"300");
      },
      [&] {
        shown = GetMessageBoxContent(automation::FrontWindow());
        automation::Answer(IDOK);
      },
      [&] {
        EXPECT_EQ(page.first.GetWindowText(), u"0");
        EXPECT_EQ(GetFocus(), page.first.GetSafeHwnd());
        EXPECT_EQ(page.first.SendMessage(EM_GETSEL), static_cast<LResult>(MakeWParam(0, 1)));
        // Typing replaces the selected 0; a full field with 255 moves on and
        // the next key lands in the next field.
        automation::TypeText(u"2551");
      },
      [&] {
        EXPECT_EQ(page.first.GetWindowText(), u"255");
        EXPECT_EQ(page.second.GetWindowText(), u"1");
        EXPECT_EQ(GetFocus(), page.second.GetSafeHwnd());
        // Not full: nothing more. Without a next field: nothing either.
        automation::TypeText(u"2");
        automation::Click(page.last.GetSafeHwnd());
        automation::TypeText(u"999");
      },
      [&] {
        EXPECT_EQ(GetFocus(), page.last.GetSafeHwnd());
        EXPECT_EQ(page.last.GetWindowText(), u"999");
        EXPECT_EQ(automation::FrontWindow(), page.GetSafeHwnd());  // no message
        automation::PressCancel();
      },
  };
  ScopedPerson person(std::make_shared<StepsPerson>(steps));
  EXPECT_EQ(page.DoModal(), IDCANCEL);
  ASSERT_TRUE(shown.has_value());
  EXPECT_EQ(shown->text, u"Please enter a number from 0 to 255 in every address field.");
  EXPECT_EQ(shown->buttons, std::vector<int>{IDOK});
  EXPECT_EQ(page.second.GetSafeHwnd(), kNoWindow);
}

}  // namespace
}  // namespace applet
