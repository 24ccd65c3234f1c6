#include "platform/framework/dialog.h"

#include "platform/controls/controls.h"
#include "platform/windows/dialog.h"
#include "platform/windows/screen.h"
#include "platform/windows/window_messages.h"
#include "platform/windows/window_styles.h"

namespace framework {

using platform::Hwnd;
using platform::LParam;
using platform::WParam;

VELM_IMPLEMENT_DYNAMIC(CDialog, CWnd)

CDialog::CDialog(uint16_t templateId, CWnd* parent) : templateId_(templateId), parent_(parent) {}

CDialog::~CDialog() {
  // The window goes while the object is still a dialog.
  const Hwnd hwnd = GetSafeHwnd();
  if (hwnd && platform::GetWindowThreadId(hwnd) == platform::GetCurrentThreadId()) platform::DestroyWindow(hwnd);
}

std::optional<platform::DialogTemplate> CDialog::LoadTemplate() { return platform::LoadDialogTemplate(templateId_); }

intptr_t CDialog::DoModal() {
  const std::optional<platform::DialogTemplate> t = LoadTemplate();
  if (!t || GetSafeHwnd()) return -1;
  HookWindowCreate(this);
  const intptr_t result = platform::DialogBoxIndirectParam(
      *t, parent_ == nullptr ? platform::kNoWindow : parent_->GetSafeHwnd(), &DialogProcedure,
      reinterpret_cast<LParam>(this));
  platform::HookNextWindowCreate(nullptr, nullptr);
  return result;
}

bool CDialog::Create(uint16_t templateId, CWnd* parent) {
  if (GetSafeHwnd()) return false;
  templateId_ = templateId;
  parent_ = parent;
  const std::optional<platform::DialogTemplate> t = LoadTemplate();
  if (!t) return false;
  HookWindowCreate(this);
  const Hwnd hwnd = platform::CreateDialogIndirectParam(
      *t, parent_ == nullptr ? platform::kNoWindow : parent_->GetSafeHwnd(), &DialogProcedure,
      reinterpret_cast<LParam>(this));
  platform::HookNextWindowCreate(nullptr, nullptr);
  if (!hwnd) return false;
  SetOwnsWindow(true);
  return true;
}

intptr_t CDialog::DialogProcedure(Hwnd hwnd, uint32_t message, WParam, LParam) {
  if (message != platform::WM_INITDIALOG) return 0;
  auto* dialog = dynamic_cast<CDialog*>(FromHandlePermanent(hwnd));
  return dialog != nullptr && dialog->OnInitDialog() ? 1 : 0;
}

bool CDialog::OnInitDialog() {
  FitToWorkArea();
  UpdateData(false);
  return true;
}

void CDialog::FitToWorkArea() {
  if (!fullScreen_ || (GetStyle() & platform::WS_CAPTION) != platform::WS_CAPTION) return;
  const platform::Rect work = platform::GetWorkArea();
  const platform::Rect window = GetWindowRect();
  platform::Rect client = GetClientRect();
  ClientToScreen(&client);
  const int left = client.left - window.left;
  const int top = client.top - window.top;
  const int right = window.right - client.right;
  const int bottom = window.bottom - client.bottom;
  SetWindowPos(platform::kNoWindow, work.left - left, work.top - top, work.Width() + left + right,
               work.Height() + top + bottom, platform::SWP_NOZORDER | platform::SWP_NOACTIVATE);
}

void CDialog::OnOK() {
  if (!UpdateData(true)) return;
  EndDialog(platform::IDOK);
}

void CDialog::OnCancel() { EndDialog(platform::IDCANCEL); }

void CDialog::EndDialog(int result) { platform::EndDialog(GetSafeHwnd(), result); }

bool CDialog::UpdateData(bool saveAndValidate) {
  CDataExchange dx(this, saveAndValidate);
  DoDataExchange(&dx);
  return !dx.Failed();
}

void CDialog::DoDataExchange(CDataExchange*) {}

bool CDialog::OnCommand(WParam wParam, LParam lParam) {
  const uint16_t code = platform::HiWord(wParam);
  if (code != platform::BN_CLICKED && lParam != 0) return false;
  switch (platform::LoWord(wParam)) {
    case platform::IDOK:
      OnOK();
      return true;
    case platform::IDCANCEL:
      OnCancel();
      return true;
    default:
      return false;
  }
}

void CDialog::OnSettingChange(uint32_t, const char16_t*) {
  Default();
  FitToWorkArea();
}

}  // namespace framework
