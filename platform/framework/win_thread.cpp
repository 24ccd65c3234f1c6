#include "platform/framework/win_thread.h"

#include "platform/framework/wnd.h"
#include "platform/windows/dialog.h"
#include "platform/windows/messages.h"
#include "platform/windows/window.h"

namespace framework {

VELM_IMPLEMENT_DYNAMIC(CWinThread, CObject)

CWinThread::CWinThread() = default;

CWinThread::~CWinThread() {
  if (!thread_.joinable()) return;
  if (thread_.get_id() == std::this_thread::get_id()) {
    // The thread let go of the object last: it ends right after this.
    thread_.detach();
  } else {
    thread_.join();
  }
}

bool CWinThread::CreateThread(bool suspended) {
  std::shared_ptr<CWinThread> self = weak_from_this().lock();
  if (!self || thread_.joinable()) return false;
  suspended_ = suspended;
  thread_ = std::thread(&CWinThread::ThreadMain, this, std::move(self));
  return true;
}

void CWinThread::ResumeThread() {
  std::lock_guard lock(mutex_);
  suspended_ = false;
  resumed_.notify_all();
}

void CWinThread::WaitForEnd() {
  if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

// keepAlive holds the object until the thread has ended.
void CWinThread::ThreadMain(std::shared_ptr<CWinThread> keepAlive) {
  {
    std::unique_lock lock(mutex_);
    resumed_.wait(lock, [this] { return !suspended_; });
  }
  threadId_ = platform::GetCurrentThreadId();
  if (InitInstance()) {
    Run();
  } else {
    ExitInstance();
  }
  ended_ = true;
  keepAlive.reset();
}

bool CWinThread::InitInstance() { return false; }

int CWinThread::Run() {
  platform::Msg msg;
  for (;;) {
    long idle = 0;
    while (!platform::PeekMessage(&msg, platform::kNoWindow, 0, 0, platform::PM_NOREMOVE) && OnIdle(idle++)) {
    }
    if (!platform::GetMessage(&msg, platform::kNoWindow, 0, 0)) return ExitInstance();
    if (!PreTranslateMessage(msg)) platform::DispatchMessage(msg);
  }
}

bool CWinThread::OnIdle(long) { return false; }

bool CWinThread::PreTranslateMessage(platform::Msg& msg) {
  if (m_pMainWnd == nullptr) return false;
  const platform::Hwnd main = m_pMainWnd->GetSafeHwnd();
  return main && platform::IsDialogWindow(main) && platform::IsDialogMessage(main, &msg);
}

int CWinThread::ExitInstance() { return 0; }

std::shared_ptr<CWinThread> AfxBeginThread(const CRuntimeClass* threadClass, bool suspended) {
  if (threadClass == nullptr || !threadClass->IsDerivedFrom(&CWinThread::kClass)) return nullptr;
  std::unique_ptr<CObject> object = threadClass->CreateObject();
  auto* thread = dynamic_cast<CWinThread*>(object.get());
  if (thread == nullptr) return nullptr;
  object.release();
  std::shared_ptr<CWinThread> shared(thread);
  if (!shared->CreateThread(suspended)) return nullptr;
  return shared;
}

}  // namespace framework
