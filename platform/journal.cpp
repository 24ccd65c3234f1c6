#include "platform/journal.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdio>

#include "base/host_file.h"
#include "platform/device.h"

namespace platform {

namespace {

// The tail read back to find the last sequence number.
constexpr off_t kTailBytes = 4096;
constexpr size_t kMaxJournalSize = 256 * 1024 * 1024;

std::string FormatLine(unsigned long number, std::string_view event) {
  char prefix[32];
  std::snprintf(prefix, sizeof prefix, "%06lu ", number);
  std::string line = prefix;
  for (char c : event) line.push_back(c == '\n' || c == '\r' ? ' ' : c);
  line.push_back('\n');
  return line;
}

}  // namespace

Journal::Journal(std::filesystem::path file) : file_(std::move(file)) {}

unsigned long Journal::LastNumber(int fd) {
  off_t end = ::lseek(fd, 0, SEEK_END);
  if (end <= 0) return 0;
  off_t start = end > kTailBytes ? end - kTailBytes : 0;
  std::string tail(static_cast<size_t>(end - start), '\0');
  if (::pread(fd, tail.data(), tail.size(), start) != static_cast<ssize_t>(tail.size())) return 0;
  while (!tail.empty() && tail.back() == '\n') tail.pop_back();
  size_t lineStart = tail.rfind('\n');
  lineStart = lineStart == std::string::npos ? 0 : lineStart + 1;
  return std::strtoul(tail.c_str() + lineStart, nullptr, 10);
}

unsigned long Journal::Append(std::string_view event) {
  std::lock_guard guard(mutex_);
  if (file_.empty()) {
    unsigned long n = memory_.size() + 1;
    std::string line = FormatLine(n, event);
    line.pop_back();
    memory_.push_back(line);
    return n;
  }
  int fd = ::open(file_.c_str(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) return 0;
  while (::flock(fd, LOCK_EX) != 0) {
    if (errno != EINTR) {
      ::close(fd);
      return 0;
    }
  }
  unsigned long n = LastNumber(fd) + 1;
  std::string line = FormatLine(n, event);
  bool ok = ::write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size());
  ::flock(fd, LOCK_UN);
  ::close(fd);
  return ok ? n : 0;
}

std::vector<std::string> Journal::Lines() {
  std::lock_guard guard(mutex_);
  if (file_.empty()) return memory_;
  std::string text;
  std::vector<std::string> lines;
  if (!ReadHostFile(file_, kMaxJournalSize, text, nullptr)) return lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

unsigned long JournalEvent(std::string_view event) {
  return CurrentDevice().Journal().Append(event);
}

}  // namespace platform
