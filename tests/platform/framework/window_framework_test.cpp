// The framework's windows: dialogs with data exchange, run modally through
// a person, full-screen dialogs that follow the screen, control objects
// tied to a dialog's controls, and user-interface threads with their idle
// processing.
#include <gtest/gtest.h>

#include <atomic>

#include "platform/automation/automation.h"
#include "platform/controls/controls.h"
#include "platform/framework/controls.h"
#include "platform/framework/dialog.h"
#include "platform/framework/win_thread.h"
#include "platform/windows/dialog.h"
#include "platform/windows/focus.h"
#include "platform/windows/window_styles.h"
#include "platform/windows/message_box.h"
#include "platform/windows/messages.h"
#include "platform/windows/screen.h"
#include "platform/windows/window_messages.h"
#include "tests/platform/windows/window_fixture.h"
#include "tests/support/applet_resources.h"

namespace framework {
namespace {

using namespace platform;
namespace automation = platform::automation;
using window_test::StepsPerson;
using window_test::WindowTest;
using Steps = std::vector<std::function<void()>>;

constexpr uint16_t kPage = 100;

class FrameworkTest : public WindowTest {
 protected:
  test_support::InstalledResources resources_{device_, test_support::kGalleryResources};
};

// The gallery page with a field of each kind.
class FieldsDialog : public CDialog {
 public:
  FieldsDialog() : CDialog(kPage) {}
  WString name = u"Internet";
  int a = 10;
  int b = 20;
  int enabled = 1;
  int bearer = 1;
  WString country = u"ger";

 protected:
  bool OnInitDialog() override {
    for (const char16_t* c : {u"France", u"Germany"}) GetCombo().AddString(c);
    return CDialog::OnInitDialog();
  }
  void DoDataExchange(CDataExchange* dx) override {
    DDX_Text(dx, 1031, name);
    DDX_Text(dx, 1034, a);
    DDX_Text(dx, 1035, b);
    DDX_Check(dx, 1062, enabled);
    DDX_Radio(dx, 1068, bearer);
    DDX_CBString(dx, 1046, country);
  }

 private:
  CComboBox& GetCombo() {
    if (!combo_.GetSafeHwnd()) combo_.SubclassDlgItem(1046, this);
    return combo_;
  }
  CComboBox combo_;
};

TEST_F(FrameworkTest, DataExchangeFillsTheControlsAndTakesThemBackOnOk) {
  FieldsDialog dialog;
  Steps steps = {
      [&] {
        const Hwnd d = dialog.GetSafeHwnd();
        EXPECT_EQ(GetDlgItemText(d, 1031), u"Internet");
        EXPECT_EQ(GetDlgItemText(d, 1034), u"10");
        EXPECT_EQ(IsDlgButtonChecked(d, 1062), BST_CHECKED);
        EXPECT_EQ(IsDlgButtonChecked(d, 1069), BST_CHECKED);  // the second of the group
        EXPECT_EQ(GetDlgItemText(d, 1046), u"Germany");        // chosen by its start
        // The name and the first number change; the first number is no number.
        SetDlgItemText(d, 1031, u"Office");
        SetDlgItemText(d, 1034, u"1x");
        SetDlgItemText(d, 1035, u" -5 ");  // blanks and a sign are a number
        automation::PressOk();
      },
      [&] {
        // The framework's own message; the dialog stays.
        const auto box = GetMessageBoxContent(automation::FrontWindow());
        ASSERT_TRUE(box.has_value());
        EXPECT_EQ(box->text, kParseIntMessage);
        automation::Answer(IDOK);
      },
      [&] {
        // The field that refused has the focus with its text selected; the
        // field before it was taken, the one after it was not.
        EXPECT_EQ(GetFocus(), dialog.GetDlgItem(1034));
        EXPECT_EQ(SendMessage(GetFocus(), EM_GETSEL, 0, 0), static_cast<LResult>(MakeWParam(0, 2)));
        EXPECT_EQ(dialog.name, u"Office");
        EXPECT_EQ(dialog.b, 20);
        automation::TypeText(u"42");
        automation::Click(dialog.GetDlgItem(1068));
      },
      [] { automation::PressOk(); },
  };
  ScopedPerson person(std::make_shared<StepsPerson>(steps));
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.a, 42);
  EXPECT_EQ(dialog.b, -5);
  EXPECT_EQ(dialog.bearer, 0);
  EXPECT_EQ(dialog.country, u"Germany");
  EXPECT_FALSE(dialog.GetSafeHwnd());  // the object let go of its window
}

TEST_F(FrameworkTest, ACaptionedDialogCoversTheWorkingAreaAndFollowsTheScreen) {
  CDialog dialog(kPage);
  ASSERT_TRUE(dialog.Create(kPage));
  Rect client = dialog.GetClientRect();
  dialog.ClientToScreen(&client);
  EXPECT_EQ(client, GetWorkArea());
  RotateScreen(Orientation::Landscape);
  client = dialog.GetClientRect();
  dialog.ClientToScreen(&client);
  EXPECT_EQ(client, (Rect{0, 26, 320, 214}));
  // A dialog that keeps its template's size.
  CDialog kept(kPage);
  kept.SetFullScreen(false);
  ASSERT_TRUE(kept.Create(kPage));
  EXPECT_EQ(kept.GetClientRect(), (Rect{0, 0, 240, 268}));
}

// A thread with a modeless dialog that counts its idle passes and ends on
// the second message it sees after its start.
class CountingThread : public CWinThread {
  VELM_DECLARE_DYNCREATE(CountingThread)

 public:
  std::atomic<int> idlePasses{0};
  std::atomic<Hwnd> window{};

 protected:
  bool InitInstance() override {
    dialog_ = std::make_unique<CDialog>(kPage);
    dialog_->SetFullScreen(false);
    if (!dialog_->Create(kPage)) return false;
    dialog_->ShowWindow(SW_SHOW);
    m_pMainWnd = dialog_.get();
    window = dialog_->GetSafeHwnd();
    return true;
  }
  bool OnIdle(long count) override {
    EXPECT_EQ(count, 0);  // false ends idle processing until the next message
    ++idlePasses;
    return false;
  }
  int ExitInstance() override {
    dialog_.reset();
    return 0;
  }

 private:
  std::unique_ptr<CDialog> dialog_;
};
VELM_IMPLEMENT_DYNCREATE(CountingThread, CWinThread)

TEST_F(FrameworkTest, AUserInterfaceThreadRunsItsOwnLoopWithIdlePasses) {
  std::shared_ptr<CWinThread> started = AfxBeginThread(&CountingThread::kClass, true);
  auto thread = std::dynamic_pointer_cast<CountingThread>(started);
  ASSERT_NE(thread, nullptr);
  EXPECT_EQ(thread->ThreadId(), 0u);  // suspended
  thread->ResumeThread();
  while (!thread->window.load()) std::this_thread::yield();
  ASSERT_TRUE(SettleThreads());
  const Hwnd window = thread->window;
  EXPECT_EQ(GetWindowThreadId(window), thread->ThreadId());
  const int before = thread->idlePasses;
  EXPECT_GE(before, 1);
  // A message makes one more idle pass.
  PostMessage(window, WM_USER, 0, 0);
  ASSERT_TRUE(SettleThreads());
  EXPECT_EQ(thread->idlePasses, before + 1);
  // Its keys go through the dialog: Escape cancels the modeless dialog,
  // which hides it.
  SendMessage(window, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(SettleThreads());
  EXPECT_FALSE(IsWindowVisible(window));
  PostMessage(window, WM_CLOSE, 0, 0);  // the dialog asks to cancel again; still there
  ASSERT_TRUE(SettleThreads());
  EXPECT_FALSE(thread->HasEnded());
  // The class name makes no thread of anything else.
  EXPECT_EQ(AfxBeginThread(&CDialog::kClass), nullptr);
  // Ending it: a quit message from its own loop.
  struct Quit {
    static void Now(Hwnd, uint32_t, uintptr_t, uint32_t) { PostQuitMessage(0); }
  };
  SetTimer(window, 9, 10, &Quit::Now);
  AdvanceClock(10);
  thread->WaitForEnd();
  EXPECT_TRUE(thread->HasEnded());
  EXPECT_FALSE(IsWindow(window));
}

}  // namespace
}  // namespace framework
