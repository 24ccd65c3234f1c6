#include "applet/device/auto_run_dialog.h"

#include "platform/controls/controls.h"
#include "platform/windows/window_messages.h"

namespace applet {

VELM_IMPLEMENT_DYNAMIC(CAutoRunDialog, framework::CDialog)

intptr_t CAutoRunDialog::DoModal() {
  firstPaint_ = true;
  return CDialog::DoModal();
}

int CAutoRunDialog::Work() { return 1; }

void CAutoRunDialog::OnPaint() {
  Default();
  if (!firstPaint_) return;
  firstPaint_ = false;
  PostMessage(kAutoRunMessage);
}

platform::LResult CAutoRunDialog::WindowProc(uint32_t message, platform::WParam wParam, platform::LParam lParam) {
  if (message != kAutoRunMessage) return CDialog::WindowProc(message, wParam, lParam);
  const int result = Work();
  const int command = result != 0 ? platform::IDOK : platform::IDCANCEL;
  PostMessage(platform::WM_COMMAND, platform::MakeWParam(static_cast<uint16_t>(command), platform::BN_CLICKED), 0);
  return result;
}

}  // namespace applet
