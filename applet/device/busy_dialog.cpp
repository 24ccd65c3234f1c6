#include "applet/device/busy_dialog.h"

#include "platform/resource_library.h"
#include "platform/windows/screen.h"
#include "platform/windows/window_messages.h"
#include "platform/windows/window_styles.h"

namespace applet {

VELM_IMPLEMENT_DYNAMIC(CBusyDialog, framework::CDialog)

namespace {

constexpr int kProgressEnd = 10;
constexpr int kLastStep = 9;

}  // namespace

CBusyDialog::CBusyDialog(uint32_t messageId)
    : CDialog(kBusyDialogTemplate, nullptr), text_(platform::LoadString(messageId).value_or(u"")) {}

void CBusyDialog::DoDataExchange(framework::CDataExchange* dx) {
  framework::DDX_Control(dx, kBusyProgressId, progress_);
  framework::DDX_Text(dx, kBusyTextId, text_);
}

bool CBusyDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  ShowWindow(platform::SW_SHOW);
  platform::ShowWindow(GetDlgItem(platform::IDCANCEL), platform::SW_HIDE);
  UpdateData(false);
  progress_.SetRange(0, kProgressEnd);
  progress_.SetPos(1);
  timerId_ = static_cast<intptr_t>(SetTimer(kBusyTimer, kBusyTimerPeriodMs));
  return true;
}

void CBusyDialog::OnTimer(uintptr_t) {
  const int next = progress_.GetPos() + 1;
  progress_.SetPos(next > kLastStep ? 0 : next);
}

void CBusyDialog::OnDestroy() {
  if (timerId_ != -1) KillTimer(static_cast<uintptr_t>(timerId_));
  timerId_ = -1;
  CDialog::OnDestroy();
}

void CBusyDialog::OnSettingChange(uint32_t flags, const char16_t* section) {
  CDialog::OnSettingChange(flags, section);
  const platform::Rect work = platform::GetWorkArea();
  const platform::Rect window = GetWindowRect();
  SetWindowPos(platform::kNoWindow, work.left + (work.Width() - window.Width()) / 2,
               work.top + (work.Height() - window.Height()) / 2, 0, 0,
               platform::SWP_NOSIZE | platform::SWP_NOZORDER | platform::SWP_NOACTIVATE);
}

}  // namespace applet
