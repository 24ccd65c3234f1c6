#include "platform/host_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>

namespace platform {

bool ReadHostFile(const std::filesystem::path& path, size_t maxSize, std::string& out,
                  std::string* why) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (why) *why = path.string() + ": " + std::strerror(errno);
    return false;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    if (why) *why = path.string() + ": not a regular file";
    ::close(fd);
    return false;
  }
  if (static_cast<unsigned long long>(st.st_size) > maxSize) {
    if (why) *why = path.string() + ": larger than " + std::to_string(maxSize) + " bytes";
    ::close(fd);
    return false;
  }
  out.clear();
  out.reserve(static_cast<size_t>(st.st_size));
  char buf[65536];
  for (;;) {
    ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      if (why) *why = path.string() + ": " + std::strerror(errno);
      ::close(fd);
      return false;
    }
    if (n == 0) break;
    if (out.size() + static_cast<size_t>(n) > maxSize) {
      if (why) *why = path.string() + ": larger than " + std::to_string(maxSize) + " bytes";
      ::close(fd);
      return false;
    }
    out.append(buf, static_cast<size_t>(n));
  }
  ::close(fd);
  return true;
}

bool WriteHostFileAtomically(const std::filesystem::path& path, std::string_view data,
                             std::string* why) {
  std::random_device rd;
  const std::filesystem::path tmp =
      path.parent_path() / ("." + path.filename().string() + ".tmp" + std::to_string(rd()));
  int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) {
    if (why) *why = tmp.string() + ": " + std::strerror(errno);
    return false;
  }
  const char* p = data.data();
  size_t left = data.size();
  while (left > 0) {
    ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      if (why) *why = tmp.string() + ": " + std::strerror(errno);
      ::close(fd);
      ::unlink(tmp.c_str());
      return false;
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  if (::fsync(fd) != 0 || ::close(fd) != 0) {
    if (why) *why = tmp.string() + ": " + std::strerror(errno);
    ::unlink(tmp.c_str());
    return false;
  }
  if (::rename(tmp.c_str(), path.c_str()) != 0) {
    if (why) *why = path.string() + ": " + std::strerror(errno);
    ::unlink(tmp.c_str());
    return false;
  }
  return true;
}

HostFileLock::HostFileLock(const std::filesystem::path& lockPath, Mode mode) {
  fd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd_ < 0) return;
  int op = mode == Mode::Shared ? LOCK_SH : LOCK_EX;
  while (::flock(fd_, op) != 0) {
    if (errno == EINTR) continue;
    ::close(fd_);
    fd_ = -1;
    return;
  }
}

HostFileLock::~HostFileLock() {
  if (fd_ >= 0) {
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
  }
}

}  // namespace platform
