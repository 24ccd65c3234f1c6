#include "platform/process.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/device.h"
#include "platform/device_path.h"
#include "platform/journal.h"

extern char** environ;

namespace platform {

int Process::Wait() {
  if (pid_ <= 0) return -1;
  int status = 0;
  pid_t r;
  do {
    r = ::waitpid(pid_, &status, 0);
  } while (r < 0 && errno == EINTR);
  pid_ = -1;
  if (r < 0 || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

namespace {

// Reaps a child when it ends, without anyone waiting for it here.
void ReapInBackground(pid_t pid) noexcept {
  try {
    std::thread([pid] {
      int status = 0;
      while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
      }
    }).detach();
  } catch (...) {
    // No thread to be had: reap it now if it has already ended.
    int status = 0;
    ::waitpid(pid, &status, WNOHANG);
  }
}

std::vector<std::string> ChildEnvironment() {
  std::vector<std::string> env;
  const std::string key = std::string(Device::kRootVariable) + "=";
  for (char** e = environ; e != nullptr && *e != nullptr; ++e)
    if (std::strncmp(*e, key.c_str(), key.size()) != 0) env.emplace_back(*e);
  env.push_back(key + CurrentDevice().Root().string());
  return env;
}

}  // namespace

void Process::Release() noexcept {
  if (pid_ > 0) ReapInBackground(pid_);
  pid_ = -1;
}

ErrorCode StartProcess(WStringView path, WStringView commandLine, Process* out) {
  const std::string shown = ToUtf8(path) + (commandLine.empty() ? "" : " " + ToUtf8(commandLine));
  std::filesystem::path host;
  ErrorCode e = ResolveDevicePath(path, host);
  struct stat st {};
  if (e == kErrorSuccess && (::stat(host.c_str(), &st) != 0 || !S_ISREG(st.st_mode)))
    e = kErrorFileNotFound;
  if (e != kErrorSuccess) {
    JournalEvent("process not found: " + shown);
    SetLastError(e);
    return e;
  }

  std::string program = host.string();
  std::string argument = ToUtf8(commandLine);
  std::vector<char*> argv{program.data()};
  if (!argument.empty()) argv.push_back(argument.data());
  argv.push_back(nullptr);
  std::vector<std::string> env = ChildEnvironment();
  std::vector<char*> envp;
  for (auto& s : env) envp.push_back(s.data());
  envp.push_back(nullptr);

  pid_t pid = -1;
  int rc = ::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), envp.data());
  if (rc != 0) {
    JournalEvent("process failed: " + shown + " (" + std::strerror(rc) + ")");
    SetLastError(kErrorBadExeFormat);
    return kErrorBadExeFormat;
  }
  JournalEvent("process started: " + shown);
  if (out != nullptr) {
    *out = Process();
    out->pid_ = pid;
  } else {
    ReapInBackground(pid);
  }
  return kErrorSuccess;
}

}  // namespace platform
