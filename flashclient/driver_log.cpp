#include "flashclient/driver_log.h"

#include <cstdio>
#include <mutex>

#include "flashclient/driver_state.h"

namespace drkclient {

namespace {

// Lines come from the host's thread and the worker; the calling order keeps
// them apart, and this lock keeps a stray overlap from tearing a line.
std::mutex g_logMutex;

std::string Printf(const char* format, long a, long b, long c, long d, long e, long f) {
  char buf[96];
  int n = std::snprintf(buf, sizeof buf, format, a, b, c, d, e, f);
  if (n < 0) return {};
  return std::string(buf, static_cast<size_t>(n) < sizeof buf ? static_cast<size_t>(n) : sizeof buf - 1);
}

}  // namespace

std::string LogFileNameFor(const platform::SystemTime& t) {
  return Printf("drk%ld%ld%ld_%ld%02ld%02ld.log", t.month, t.day, t.year, t.hour, t.minute, t.second);
}

std::string LogDateStamp(const platform::SystemTime& t) {
  return Printf("%ld/%ld/%ld %ld:%02ld:%02ld \r\n", t.month, t.day, t.year, t.hour, t.minute, t.second);
}

void LogLine(std::string_view text, uint32_t value) {
  DriverState& s = State();
  if (s.loggingEnabled.load() == 0) return;
  std::lock_guard guard(g_logMutex);
  const platform::SystemTime now = platform::GetLocalTime();
  if (!s.logFile) {
    std::string name = LogFileNameFor(now);
    s.logFileName.Assign(name);
    s.logFile.reset(std::fopen(s.logFileName.CStr(), "wt"));  // text: CR LF line ends on Windows
    if (!s.logFile) return;  // the line is dropped
    std::fprintf(s.logFile.get(), "DRKClient_Driver executed %s\n", LogDateStamp(now).c_str());
    std::fflush(s.logFile.get());
  }
  char time[48];
  std::snprintf(time, sizeof time, "%ld:%02ld:%02ld", static_cast<long>(now.hour), static_cast<long>(now.minute),
                static_cast<long>(now.second));
  std::string line(text);
  std::fprintf(s.logFile.get(), "%s %s: %u\n", time, line.c_str(), value);
  std::fflush(s.logFile.get());
}

void LogClose() {
  DriverState& s = State();
  if (s.loggingEnabled.load() == 0) return;
  std::lock_guard guard(g_logMutex);
  if (!s.logFile) return;
  std::fprintf(s.logFile.get(), "DRKClient_Driver completed %s\n", LogDateStamp(platform::GetLocalTime()).c_str());
  std::fflush(s.logFile.get());
  s.logFile.reset();
}

}  // namespace drkclient
