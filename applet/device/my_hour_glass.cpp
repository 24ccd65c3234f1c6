#include "applet/device/my_hour_glass.h"

#include <mutex>

#include "platform/controls/controls.h"
#include "platform/windows/focus.h"
#include "platform/windows/messages.h"
#include "platform/windows/window_messages.h"

namespace applet {

VELM_IMPLEMENT_DYNCREATE(CMyHourGlass, framework::CWinThread)

namespace {

// The running indicator; ShowBusy and HideBusy come from the applet's
// thread, the lock only keeps the pointer whole.
std::mutex g_mutex;
std::shared_ptr<CMyHourGlass> g_running;

}  // namespace

bool CMyHourGlass::InitInstance() {
  dialog_ = std::make_unique<CBusyDialog>(messageId_);
  m_pMainWnd = dialog_.get();
  if (!dialog_->Create(kBusyDialogTemplate)) {
    m_pMainWnd = nullptr;
    dialog_.reset();
    return false;
  }
  dialogWindow_ = dialog_->GetSafeHwnd();
  return true;
}

bool CMyHourGlass::OnIdle(long count) {
  if (stopRequests_.fetch_add(1) + 1 > 1) {
    if (dialog_) {
      dialog_->SendMessage(platform::WM_COMMAND, platform::MakeWParam(platform::IDOK, platform::BN_CLICKED), 0);
      dialogWindow_ = platform::kNoWindow;
      m_pMainWnd = nullptr;
      dialog_.reset();
    }
    platform::PostQuitMessage(0);
    return false;
  }
  stopRequests_.fetch_sub(1);
  return CWinThread::OnIdle(count);
}

void ShowBusy(uint32_t messageId, platform::Hwnd owner) {
  HideBusy(false);
  std::shared_ptr<framework::CWinThread> thread = framework::AfxBeginThread(&CMyHourGlass::kClass, true);
  auto indicator = std::dynamic_pointer_cast<CMyHourGlass>(thread);
  if (!indicator) return;
  {
    std::lock_guard lock(g_mutex);
    g_running = indicator;
  }
  indicator->SetMessage(messageId, owner);
  indicator->ResumeThread();
}

void HideBusy(bool bringOwnerBack) {
  std::shared_ptr<CMyHourGlass> running;
  {
    std::lock_guard lock(g_mutex);
    running = std::move(g_running);
  }
  if (!running) return;
  running->RequestStop();
  if (bringOwnerBack && running->Owner()) platform::SetForegroundWindow(running->Owner());
}

void StopBusyAndWait() {
  std::shared_ptr<CMyHourGlass> running = RunningBusyIndicator();
  HideBusy(false);
  if (!running) return;
  const platform::Hwnd window = running->DialogWindow();
  if (window) platform::PostMessage(window, platform::WM_NULL, 0, 0);
  running->WaitForEnd();
}

std::shared_ptr<CMyHourGlass> RunningBusyIndicator() {
  std::lock_guard lock(g_mutex);
  return g_running;
}

}  // namespace applet
