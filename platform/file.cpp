#include "platform/file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>
#include <system_error>
#include <vector>

#include "base/host_file.h"
#include "platform/device.h"
#include "platform/device_path.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

// Handles open in this process, for the sharing rules.
struct OpenRecord {
  const void* owner;
  dev_t device;
  ino_t inode;
  uint32_t access;
  uint32_t share;
};

std::mutex g_openMutex;
std::vector<OpenRecord> g_open;

bool Conflicts(const OpenRecord& a, uint32_t access, uint32_t share) {
  if ((access & kGenericRead) && !(a.share & kShareRead)) return true;
  if ((access & kGenericWrite) && !(a.share & kShareWrite)) return true;
  if ((a.access & kGenericRead) && !(share & kShareRead)) return true;
  if ((a.access & kGenericWrite) && !(share & kShareWrite)) return true;
  return false;
}

bool IsOpenHere(dev_t device, ino_t inode) {
  for (const auto& r : g_open)
    if (r.device == device && r.inode == inode) return true;
  return false;
}

ErrorCode Fail(ErrorCode e) {
  SetLastError(e);
  return e;
}

}  // namespace

struct File::Handle {
  int fd = -1;
  fs::path hostPath;
};

File::File() = default;
File::~File() { Close(); }
File::File(File&& other) noexcept : handle_(std::move(other.handle_)) {
  if (handle_) {
    std::lock_guard guard(g_openMutex);
    for (auto& r : g_open)
      if (r.owner == &other) r.owner = this;
  }
}

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = std::move(other.handle_);
    if (handle_) {
      std::lock_guard guard(g_openMutex);
      for (auto& r : g_open)
        if (r.owner == &other) r.owner = this;
    }
  }
  return *this;
}

ErrorCode File::Open(WStringView path, uint32_t access, uint32_t share,
                     CreationDisposition disposition) {
  Close();
  fs::path host;
  if (ErrorCode e = ResolveDevicePath(path, host); e != kErrorSuccess) return Fail(e);
  if ((access & (kGenericRead | kGenericWrite)) == 0) access |= kGenericRead;

  std::lock_guard guard(g_openMutex);
  struct stat st {};
  bool exists = ::stat(host.c_str(), &st) == 0;
  if (exists && S_ISDIR(st.st_mode)) return Fail(kErrorAccessDenied);
  if (!exists && errno == ENOTDIR) return Fail(kErrorPathNotFound);
  if (exists) {
    for (const auto& r : g_open)
      if (r.device == st.st_dev && r.inode == st.st_ino && Conflicts(r, access, share))
        return Fail(kErrorSharingViolation);
  }

  int flags = O_CLOEXEC;
  if ((access & kGenericRead) && (access & kGenericWrite)) flags |= O_RDWR;
  else if (access & kGenericWrite) flags |= O_WRONLY;
  else flags |= O_RDONLY;
  switch (disposition) {
    case CreationDisposition::CreateNew:
      if (exists) return Fail(kErrorFileExists);
      flags |= O_CREAT | O_EXCL;
      break;
    case CreationDisposition::CreateAlways: flags |= O_CREAT | O_TRUNC; break;
    case CreationDisposition::OpenExisting:
      if (!exists) return Fail(kErrorFileNotFound);
      break;
    case CreationDisposition::OpenAlways: flags |= O_CREAT; break;
    case CreationDisposition::TruncateExisting:
      if (!exists) return Fail(kErrorFileNotFound);
      flags |= O_TRUNC;
      break;
  }
  if ((flags & O_TRUNC) && !(access & kGenericWrite)) {
    // Truncating needs write access on the host even for a read handle.
    flags = (flags & ~O_RDONLY) | O_RDWR;
  }
  int fd = ::open(host.c_str(), flags, 0644);
  if (fd < 0) {
    ErrorCode e = FromErrno(errno);
    if (e == kErrorFileNotFound && !exists) {
      // Creating in a folder that does not exist.
      std::error_code ec;
      if (!fs::is_directory(host.parent_path(), ec)) e = kErrorPathNotFound;
    }
    return Fail(e);
  }
  if (::fstat(fd, &st) != 0) {
    ::close(fd);
    return Fail(kErrorAccessDenied);
  }
  handle_ = std::make_unique<Handle>();
  handle_->fd = fd;
  handle_->hostPath = host;
  g_open.push_back({this, st.st_dev, st.st_ino, access, share});
  SetLastError(exists && (disposition == CreationDisposition::OpenAlways ||
                          disposition == CreationDisposition::CreateAlways)
                   ? kErrorAlreadyExists
                   : kErrorSuccess);
  return kErrorSuccess;
}

void File::Close() {
  if (!handle_) return;
  {
    std::lock_guard guard(g_openMutex);
    for (auto it = g_open.begin(); it != g_open.end(); ++it) {
      if (it->owner == this) {
        g_open.erase(it);
        break;
      }
    }
  }
  ::close(handle_->fd);
  handle_.reset();
}

bool File::IsOpen() const { return handle_ != nullptr; }

const fs::path& File::HostPath() const {
  static const fs::path empty;
  return handle_ ? handle_->hostPath : empty;
}

ErrorCode File::Read(void* buffer, size_t size, size_t* read) {
  if (read) *read = 0;
  if (!handle_) return Fail(kErrorInvalidHandle);
  size_t total = 0;
  auto* p = static_cast<char*>(buffer);
  while (total < size) {
    ssize_t n = ::read(handle_->fd, p + total, size - total);
    if (n < 0) {
      if (errno == EINTR) continue;
      return Fail(errno == EBADF ? kErrorAccessDenied : kErrorReadFault);
    }
    if (n == 0) break;
    total += static_cast<size_t>(n);
  }
  if (read) *read = total;
  return kErrorSuccess;
}

ErrorCode File::Write(const void* data, size_t size, size_t* written) {
  if (written) *written = 0;
  if (!handle_) return Fail(kErrorInvalidHandle);
  size_t total = 0;
  const auto* p = static_cast<const char*>(data);
  while (total < size) {
    ssize_t n = ::write(handle_->fd, p + total, size - total);
    if (n < 0) {
      if (errno == EINTR) continue;
      if (written) *written = total;
      return Fail(errno == EBADF ? kErrorAccessDenied : FromErrno(errno));
    }
    total += static_cast<size_t>(n);
  }
  if (written) *written = total;
  return kErrorSuccess;
}

ErrorCode File::Seek(int64_t offset, SeekOrigin origin, uint64_t* position) {
  if (!handle_) return Fail(kErrorInvalidHandle);
  int whence = origin == SeekOrigin::Begin ? SEEK_SET : origin == SeekOrigin::Current ? SEEK_CUR : SEEK_END;
  off_t r = ::lseek(handle_->fd, static_cast<off_t>(offset), whence);
  if (r < 0) return Fail(kErrorInvalidParameter);
  if (position) *position = static_cast<uint64_t>(r);
  return kErrorSuccess;
}

ErrorCode File::Size(uint64_t* size) const {
  if (!handle_) return Fail(kErrorInvalidHandle);
  struct stat st {};
  if (::fstat(handle_->fd, &st) != 0) return Fail(kErrorAccessDenied);
  *size = static_cast<uint64_t>(st.st_size);
  return kErrorSuccess;
}

ErrorCode File::SetEnd() {
  if (!handle_) return Fail(kErrorInvalidHandle);
  off_t pos = ::lseek(handle_->fd, 0, SEEK_CUR);
  if (pos < 0 || ::ftruncate(handle_->fd, pos) != 0) return Fail(FromErrno(errno));
  return kErrorSuccess;
}

ErrorCode File::Flush() {
  if (!handle_) return Fail(kErrorInvalidHandle);
  if (::fsync(handle_->fd) != 0 && errno != EINVAL) return Fail(FromErrno(errno));
  return kErrorSuccess;
}

uint32_t GetFileAttributes(WStringView path) {
  fs::path host;
  if (ErrorCode e = ResolveDevicePath(path, host); e != kErrorSuccess) {
    SetLastError(e);
    return kInvalidAttributes;
  }
  struct stat st {};
  if (::stat(host.c_str(), &st) != 0) {
    SetLastError(errno == ENOTDIR ? kErrorPathNotFound : FromErrno(errno));
    return kInvalidAttributes;
  }
  return S_ISDIR(st.st_mode) ? kAttributeDirectory : kAttributeNormal;
}

bool FileExists(WStringView path) { return GetFileAttributes(path) != kInvalidAttributes; }

bool IsDirectory(WStringView path) {
  uint32_t a = GetFileAttributes(path);
  return a != kInvalidAttributes && (a & kAttributeDirectory);
}

ErrorCode CopyDeviceFile(WStringView from, WStringView to, bool failIfExists) {
  File source;
  if (ErrorCode e = source.Open(from, kGenericRead, kShareRead, CreationDisposition::OpenExisting);
      e != kErrorSuccess)
    return e;
  File target;
  ErrorCode e = target.Open(to, kGenericWrite, kShareNone,
                            failIfExists ? CreationDisposition::CreateNew
                                         : CreationDisposition::CreateAlways);
  if (e != kErrorSuccess) return e;
  char buffer[65536];
  for (;;) {
    size_t n = 0;
    if ((e = source.Read(buffer, sizeof buffer, &n)) != kErrorSuccess) return e;
    if (n == 0) break;
    size_t w = 0;
    if ((e = target.Write(buffer, n, &w)) != kErrorSuccess) return e;
  }
  return kErrorSuccess;
}

ErrorCode DeleteDeviceFile(WStringView path) {
  fs::path host;
  if (ErrorCode e = ResolveDevicePath(path, host); e != kErrorSuccess) return Fail(e);
  std::lock_guard guard(g_openMutex);
  struct stat st {};
  if (::lstat(host.c_str(), &st) != 0) return Fail(errno == ENOTDIR ? kErrorPathNotFound : FromErrno(errno));
  if (S_ISDIR(st.st_mode)) return Fail(kErrorAccessDenied);
  // The handheld refuses to delete a file that is open.
  if (IsOpenHere(st.st_dev, st.st_ino)) return Fail(kErrorSharingViolation);
  if (::unlink(host.c_str()) != 0) return Fail(FromErrno(errno));
  return kErrorSuccess;
}

ErrorCode MoveDeviceFile(WStringView from, WStringView to) {
  fs::path a, b;
  if (ErrorCode e = ResolveDevicePath(from, a); e != kErrorSuccess) return Fail(e);
  if (ErrorCode e = ResolveDevicePath(to, b); e != kErrorSuccess) return Fail(e);
  struct stat st {};
  if (::stat(a.c_str(), &st) != 0) return Fail(FromErrno(errno));
  if (::stat(b.c_str(), &st) == 0) return Fail(kErrorAlreadyExists);
  if (::rename(a.c_str(), b.c_str()) != 0) return Fail(FromErrno(errno));
  return kErrorSuccess;
}

ErrorCode ReplaceDeviceFile(WStringView from, WStringView to) {
  fs::path a, b;
  if (ErrorCode e = ResolveDevicePath(from, a); e != kErrorSuccess) return Fail(e);
  if (ErrorCode e = ResolveDevicePath(to, b); e != kErrorSuccess) return Fail(e);
  std::lock_guard guard(g_openMutex);
  struct stat st {};
  if (::stat(a.c_str(), &st) != 0) return Fail(errno == ENOTDIR ? kErrorPathNotFound : FromErrno(errno));
  if (S_ISDIR(st.st_mode)) return Fail(kErrorAccessDenied);
  if (::stat(b.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return Fail(kErrorAccessDenied);
    // The handheld refuses to overwrite a file that is open.
    if (IsOpenHere(st.st_dev, st.st_ino)) return Fail(kErrorSharingViolation);
  }
  if (::rename(a.c_str(), b.c_str()) != 0) return Fail(FromErrno(errno));
  // Make the new name durable, so that a power cut right after the call does
  // not bring the old file back.
  int dir = ::open(b.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return kErrorSuccess;
}

ErrorCode CreateDeviceDirectory(WStringView path) {
  fs::path host;
  if (ErrorCode e = ResolveDevicePath(path, host); e != kErrorSuccess) return Fail(e);
  if (::mkdir(host.c_str(), 0755) != 0) {
    return Fail(errno == ENOENT ? kErrorPathNotFound : FromErrno(errno));
  }
  return kErrorSuccess;
}

ErrorCode RemoveDeviceDirectory(WStringView path) {
  fs::path host;
  if (ErrorCode e = ResolveDevicePath(path, host); e != kErrorSuccess) return Fail(e);
  std::error_code ec;
  if (fs::equivalent(host, CurrentDevice().FileSystemRoot(), ec)) return Fail(kErrorAccessDenied);
  if (::rmdir(host.c_str()) != 0) return Fail(FromErrno(errno));
  return kErrorSuccess;
}

ErrorCode ReadDeviceFile(WStringView path, size_t maxSize, std::string& out) {
  File f;
  if (ErrorCode e = f.Open(path, kGenericRead, kShareRead | kShareWrite,
                           CreationDisposition::OpenExisting);
      e != kErrorSuccess)
    return e;
  uint64_t size = 0;
  if (ErrorCode e = f.Size(&size); e != kErrorSuccess) return e;
  if (size > maxSize) return Fail(kErrorInvalidParameter);
  out.assign(static_cast<size_t>(size), '\0');
  size_t n = 0;
  if (ErrorCode e = f.Read(out.data(), out.size(), &n); e != kErrorSuccess) return e;
  out.resize(n);
  return kErrorSuccess;
}

ErrorCode WriteDeviceFile(WStringView path, const std::string& data) {
  File f;
  if (ErrorCode e = f.Open(path, kGenericWrite, kShareNone, CreationDisposition::CreateAlways);
      e != kErrorSuccess)
    return e;
  size_t n = 0;
  return f.Write(data.data(), data.size(), &n);
}

}  // namespace platform
