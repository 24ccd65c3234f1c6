#pragma once
// The application framework's user-interface thread: a thread with a
// message loop of its own. InitInstance makes its windows (usually its main
// window, m_pMainWnd); Run dispatches messages and, whenever the queue runs
// empty, calls OnIdle with a count that starts at 0 after every message,
// until OnIdle returns false; WM_QUIT ends the loop, ExitInstance runs and
// the thread ends.
//
// The object lives as long as someone holds it: AfxBeginThread hands out a
// shared pointer, and the running thread holds one until it has ended, so
// the object outlives its thread whoever lets go of it first.

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/framework/object.h"
#include "platform/windows/window_types.h"

namespace framework {

class CWnd;

class CWinThread : public CObject, public std::enable_shared_from_this<CWinThread> {
  VELM_DECLARE_DYNAMIC(CWinThread)

 public:
  CWinThread();
  ~CWinThread() override;
  CWinThread(const CWinThread&) = delete;
  CWinThread& operator=(const CWinThread&) = delete;

  // Starts the thread; a suspended one waits for ResumeThread before
  // InitInstance. The object must be held by a shared pointer.
  bool CreateThread(bool suspended = false);
  void ResumeThread();
  // Waits until the thread has ended (never from the thread itself).
  void WaitForEnd();
  bool HasEnded() const { return ended_.load(); }
  // The thread's number in the window system, 0 before it ran.
  uint32_t ThreadId() const { return threadId_.load(); }

  // False ends the thread at once (after ExitInstance).
  virtual bool InitInstance();
  virtual int Run();
  // True asks for more idle processing before the thread waits.
  virtual bool OnIdle(long count);
  // A dialog main window handles its keys first.
  virtual bool PreTranslateMessage(platform::Msg& msg);
  virtual int ExitInstance();

  CWnd* m_pMainWnd = nullptr;

 private:
  void ThreadMain(std::shared_ptr<CWinThread> keepAlive);

  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable resumed_;
  bool suspended_ = false;
  std::atomic<bool> ended_{false};
  std::atomic<uint32_t> threadId_{0};
};

// Creates an object of a class derived from CWinThread by its run-time
// class and starts its thread; null when the class is not one or the
// thread could not start.
std::shared_ptr<CWinThread> AfxBeginThread(const CRuntimeClass* threadClass, bool suspended = false);

}  // namespace framework
