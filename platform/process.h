#pragma once
// Processes of the handheld. Starting a program by device path runs the host
// executable at that path as a child process on the same device (the child
// inherits VELM_DEVICE_ROOT); the command line is handed over as a single
// argument. Every start is journalled, whether the program was found or not:
//
//   process started: \Windows\VELMauto.exe
//   process started: \windows\peghelp.exe file:velm.htm#Main_Contents
//   process not found: \Yvra ROM\regfix.exe
//   process failed: \Windows\broken.exe (Exec format error)

#include <sys/types.h>

#include <utility>

#include "base/errors.h"
#include "base/text.h"

namespace platform {

class Process {
 public:
  Process() = default;
  // A child that no one waits for any more (the object ends or is assigned
  // another) keeps running and is reaped in the background when it ends,
  // so it never stays behind as a zombie.
  ~Process() { Release(); }
  Process(Process&& other) noexcept : pid_(std::exchange(other.pid_, -1)) {}
  Process& operator=(Process&& other) noexcept {
    if (this != &other) {
      Release();
      pid_ = std::exchange(other.pid_, -1);
    }
    return *this;
  }
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  bool IsValid() const { return pid_ > 0; }
  // The host's process id (-1 when there is none).
  pid_t Id() const { return pid_; }
  // Waits for the process to end; returns its exit code (-1 when it was
  // killed by a signal or never ran).
  int Wait();

 private:
  friend ErrorCode StartProcess(WStringView, WStringView, Process*);
  void Release() noexcept;

  pid_t pid_ = -1;
};

// Starts a program. Without out the child is not waited for (it is reaped
// when it ends). Errors: kErrorFileNotFound, kErrorBadExeFormat, path errors.
ErrorCode StartProcess(WStringView path, WStringView commandLine, Process* out = nullptr);

}  // namespace platform
