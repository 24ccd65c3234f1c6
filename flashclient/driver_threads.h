#pragma once
// The threads the driver starts and keeps: at most one flash worker, and
// the reformat timers. Each runs guarded, so an exception ends its thread
// through a failure handler rather than the host program. When the library
// unloads, the registry asks every wait to end early and joins every
// thread, so no thread runs on in code that is gone.
//
// Windows unloads a library under its loader lock, which a thread needs to
// end: a join there would never return. So on Windows the first thread the
// driver starts pins the library in the process, and only the end of the
// process unloads it, after the system has stopped every thread; then the
// threads are forgotten instead of joined (ProcessEnding).

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace drkclient {

class DriverThreads {
 public:
  static DriverThreads& Instance();
  ~DriverThreads();
  DriverThreads(const DriverThreads&) = delete;
  DriverThreads& operator=(const DriverThreads&) = delete;

  // Starts work on the worker thread unless a worker still runs; false then.
  // Throws what starting a thread throws.
  bool StartWorker(std::function<void()> work, std::function<void()> onFailure);
  void StartTimer(std::function<void()> work);
  bool WorkerRunning() const { return workerRunning_.load(); }
  // Waits for every thread, including those started meanwhile.
  void JoinAll();
  // Called as the process ends with its other threads already stopped:
  // the registry then forgets its threads instead of joining them.
  static void ProcessEnding();

 private:
  DriverThreads();

  struct Timer {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> ended;
  };
  // Joins the timers that have ended, so their threads do not pile up.
  void ReapTimers();

  std::mutex mutex_;
  std::thread worker_;
  std::atomic<bool> workerRunning_{false};
  std::vector<Timer> timers_;
};

}  // namespace drkclient
