#include "base/host_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <random>

#include "base/byte_reader.h"
#include "base/byte_writer.h"

namespace platform {

namespace {

std::string TemporaryPrefix(const std::filesystem::path& path) { return "." + path.filename().string() + ".tmp"; }

bool FailRead(ErrorCode failure, std::string message, std::string* why, ErrorCode* code) {
  if (why) *why = std::move(message);
  if (code) *code = failure;
  return false;
}

constexpr size_t kGenerationSize = 8;

}  // namespace

bool ReadHostFile(const std::filesystem::path& path, size_t maxSize, std::string& out,
                  std::string* why, ErrorCode* code) {
  if (code) *code = kErrorSuccess;
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return FailRead(FromErrno(errno), path.string() + ": " + std::strerror(errno), why, code);
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return FailRead(kErrorAccessDenied, path.string() + ": not a regular file", why, code);
  }
  const std::string tooLarge = path.string() + ": larger than " + std::to_string(maxSize) + " bytes";
  if (static_cast<unsigned long long>(st.st_size) > maxSize) {
    ::close(fd);
    return FailRead(kErrorFileTooLarge, tooLarge, why, code);
  }
  out.clear();
  out.reserve(static_cast<size_t>(st.st_size));
  char buf[65536];
  for (;;) {
    ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      const int err = errno;
      ::close(fd);
      return FailRead(FromErrno(err), path.string() + ": " + std::strerror(err), why, code);
    }
    if (n == 0) break;
    if (out.size() + static_cast<size_t>(n) > maxSize) {
      ::close(fd);
      return FailRead(kErrorFileTooLarge, tooLarge, why, code);
    }
    out.append(buf, static_cast<size_t>(n));
  }
  ::close(fd);
  return true;
}

bool WriteHostFileAtomically(const std::filesystem::path& path, std::string_view data,
                             std::string* why) {
  std::random_device rd;
  const std::filesystem::path tmp = path.parent_path() / (TemporaryPrefix(path) + std::to_string(rd()));
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

size_t RemoveLeftoverTemporaries(const std::filesystem::path& path) {
  const std::string prefix = TemporaryPrefix(path);
  std::error_code ec;
  std::filesystem::directory_iterator it(path.parent_path().empty() ? "." : path.parent_path(), ec);
  size_t removed = 0;
  for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
    if (it->path().filename().string().rfind(prefix, 0) != 0) continue;
    std::error_code removeError;
    if (std::filesystem::remove(it->path(), removeError)) ++removed;
  }
  return removed;
}

HostFileLock::HostFileLock(const std::filesystem::path& lockPath, Mode mode) : mode_(mode) {
  fd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  // A reader on a folder it may not write still locks an existing lock file.
  if (fd_ < 0 && mode == Mode::Shared) fd_ = ::open(lockPath.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) return;
  int op = mode == Mode::Shared ? LOCK_SH : LOCK_EX;
  while (::flock(fd_, op) != 0) {
    if (errno == EINTR) continue;
    ::close(fd_);
    fd_ = -1;
    return;
  }
}

uint64_t HostFileLock::Generation() const {
  std::array<uint8_t, kGenerationSize> bytes{};
  if (fd_ < 0) return 0;
  ssize_t n;
  do {
    n = ::pread(fd_, bytes.data(), bytes.size(), 0);
  } while (n < 0 && errno == EINTR);
  uint64_t generation = 0;
  if (n == static_cast<ssize_t>(bytes.size())) ByteReader(bytes).U64(generation);
  return generation;
}

bool HostFileLock::AdvanceGeneration() {
  if (fd_ < 0 || mode_ != Mode::Exclusive) return false;
  ByteWriter bytes;
  bytes.U64(Generation() + 1);
  ssize_t n;
  do {
    n = ::pwrite(fd_, bytes.Data().data(), bytes.Size(), 0);
  } while (n < 0 && errno == EINTR);
  return n == static_cast<ssize_t>(bytes.Size());
}

HostFileLock::~HostFileLock() {
  if (fd_ >= 0) {
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
  }
}

}  // namespace platform
