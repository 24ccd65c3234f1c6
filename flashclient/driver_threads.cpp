#include "flashclient/driver_threads.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include "base/clock.h"
#include "base/export_guard.h"
#include "flashclient/driver_state.h"
#include "flashclient/serial/serial_port.h"

namespace drkclient {

namespace {

std::atomic<bool> g_processEnding{false};

// Keeps the library in the process from the first thread on (see the
// header); nothing to do where unloading may join.
void PinLibrary() {
#ifdef _WIN32
  static std::once_flag pinned;
  std::call_once(pinned, [] {
    HMODULE self = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                         reinterpret_cast<LPCWSTR>(&PinLibrary), &self);
  });
#endif
}

}  // namespace

void DriverThreads::ProcessEnding() { g_processEnding = true; }

DriverThreads& DriverThreads::Instance() {
  static DriverThreads threads;
  return threads;
}

DriverThreads::DriverThreads() {
  // The threads use the state, the clock and the port opener up to their
  // last step. Made before this registry, they are destroyed after it has
  // joined the threads.
  State();
  platform::CurrentClock();
  CurrentPortOpener();
}

DriverThreads::~DriverThreads() {
  if (g_processEnding) {
    // Their threads are gone, and a lock one of them held may stay taken.
    if (worker_.joinable()) worker_.detach();
    for (auto& t : timers_) t.thread.detach();
    return;
  }
  State().stopRequested = true;
  JoinAll();
}

bool DriverThreads::StartWorker(std::function<void()> work, std::function<void()> onFailure) {
  std::lock_guard guard(mutex_);
  if (workerRunning_.load()) return false;
  // The previous worker has done its last step; this only collects it.
  if (worker_.joinable()) worker_.join();
  PinLibrary();
  workerRunning_ = true;
  try {
    worker_ = std::thread([this, work = std::move(work), onFailure = std::move(onFailure)] {
      platform::RunGuarded(work, onFailure);
      workerRunning_ = false;
    });
  } catch (...) {
    workerRunning_ = false;
    throw;
  }
  return true;
}

void DriverThreads::StartTimer(std::function<void()> work) {
  std::lock_guard guard(mutex_);
  ReapTimers();
  PinLibrary();
  auto ended = std::make_shared<std::atomic<bool>>(false);
  timers_.push_back({std::thread([work = std::move(work), ended] {
                       platform::RunGuarded(work, [] {});
                       *ended = true;
                     }),
                     ended});
}

void DriverThreads::ReapTimers() {
  std::erase_if(timers_, [](Timer& t) {
    if (!t.ended->load()) return false;
    t.thread.join();
    return true;
  });
}

void DriverThreads::JoinAll() {
  for (;;) {
    std::thread worker;
    std::vector<Timer> timers;
    {
      std::lock_guard guard(mutex_);
      worker.swap(worker_);
      timers.swap(timers_);
    }
    if (!worker.joinable() && timers.empty()) return;
    if (worker.joinable()) worker.join();
    for (auto& t : timers) t.thread.join();
  }
}

}  // namespace drkclient
