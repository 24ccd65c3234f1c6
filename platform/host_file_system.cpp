#include "platform/host_file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "platform/device_path.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

FileId IdOf(const FileSystem* store, const struct stat& st) {
  return {store, static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
}

class HostOpenFile final : public OpenStoreFile {
 public:
  HostOpenFile(int fd, FileId id) : fd_(fd), id_(id) {}
  ~HostOpenFile() override { ::close(fd_); }
  HostOpenFile(const HostOpenFile&) = delete;
  HostOpenFile& operator=(const HostOpenFile&) = delete;

  ErrorCode Read(void* buffer, size_t size, size_t* read) override {
    size_t total = 0;
    auto* p = static_cast<char*>(buffer);
    while (total < size) {
      ssize_t n = ::read(fd_, p + total, size - total);
      if (n < 0) {
        if (errno == EINTR) continue;
        return errno == EBADF ? kErrorAccessDenied : kErrorReadFault;
      }
      if (n == 0) break;
      total += static_cast<size_t>(n);
    }
    *read = total;
    return kErrorSuccess;
  }

  ErrorCode Write(const void* data, size_t size, size_t* written) override {
    size_t total = 0;
    const auto* p = static_cast<const char*>(data);
    while (total < size) {
      ssize_t n = ::write(fd_, p + total, size - total);
      if (n < 0) {
        if (errno == EINTR) continue;
        *written = total;
        return errno == EBADF ? kErrorAccessDenied : FromErrno(errno);
      }
      total += static_cast<size_t>(n);
    }
    *written = total;
    return kErrorSuccess;
  }

  ErrorCode Seek(int64_t offset, SeekOrigin origin, uint64_t* position) override {
    int whence = origin == SeekOrigin::Begin ? SEEK_SET : origin == SeekOrigin::Current ? SEEK_CUR : SEEK_END;
    off_t r = ::lseek(fd_, static_cast<off_t>(offset), whence);
    if (r < 0) return kErrorInvalidParameter;
    *position = static_cast<uint64_t>(r);
    return kErrorSuccess;
  }

  ErrorCode Size(uint64_t* size) const override {
    struct stat st {};
    if (::fstat(fd_, &st) != 0) return kErrorAccessDenied;
    *size = static_cast<uint64_t>(st.st_size);
    return kErrorSuccess;
  }

  ErrorCode SetEnd() override {
    off_t pos = ::lseek(fd_, 0, SEEK_CUR);
    if (pos < 0 || ::ftruncate(fd_, pos) != 0) return FromErrno(errno);
    return kErrorSuccess;
  }

  ErrorCode Flush() override {
    if (::fsync(fd_) != 0 && errno != EINVAL) return FromErrno(errno);
    return kErrorSuccess;
  }

  FileId Id() const override { return id_; }

 private:
  int fd_;
  FileId id_;
};

}  // namespace

ErrorCode HostFileSystem::Status(const DeviceParts& path, FileStatus& out) {
  fs::path host;
  if (ErrorCode e = MapOntoHost(folder_, path, host); e != kErrorSuccess) return e;
  struct stat st {};
  if (::stat(host.c_str(), &st) != 0) return FromErrno(errno);
  out.isFolder = S_ISDIR(st.st_mode);
  out.size = out.isFolder ? 0 : static_cast<uint64_t>(st.st_size);
  out.id = IdOf(this, st);
  return kErrorSuccess;
}

ErrorCode HostFileSystem::Open(const DeviceParts& path, const OpenMode& mode,
                               std::unique_ptr<OpenStoreFile>& out) {
  fs::path host;
  if (ErrorCode e = MapOntoHost(folder_, path, host); e != kErrorSuccess) return e;
  int flags = O_CLOEXEC;
  if (mode.write) flags |= mode.read ? O_RDWR : O_WRONLY;
  // Truncating needs write access on the host even for a handle that reads.
  else flags |= mode.truncate ? O_RDWR : O_RDONLY;
  if (mode.create) flags |= O_CREAT;
  if (mode.create && mode.exclusive) flags |= O_EXCL;
  if (mode.truncate) flags |= O_TRUNC;
  int fd = ::open(host.c_str(), flags, 0644);
  if (fd < 0) {
    ErrorCode e = FromErrno(errno);
    if (e == kErrorFileNotFound && mode.create) {
      // Creating in a folder that does not exist.
      std::error_code ec;
      if (!fs::is_directory(host.parent_path(), ec)) e = kErrorPathNotFound;
    }
    return e;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    ::close(fd);
    return kErrorAccessDenied;
  }
  out = std::make_unique<HostOpenFile>(fd, IdOf(this, st));
  return kErrorSuccess;
}

ErrorCode HostFileSystem::RemoveFile(const DeviceParts& path) {
  fs::path host;
  if (ErrorCode e = MapOntoHost(folder_, path, host); e != kErrorSuccess) return e;
  if (::unlink(host.c_str()) != 0) return FromErrno(errno);
  return kErrorSuccess;
}

ErrorCode HostFileSystem::Rename(const DeviceParts& from, const DeviceParts& to) {
  fs::path a, b;
  if (ErrorCode e = MapOntoHost(folder_, from, a); e != kErrorSuccess) return e;
  if (ErrorCode e = MapOntoHost(folder_, to, b); e != kErrorSuccess) return e;
  if (::rename(a.c_str(), b.c_str()) != 0) return FromErrno(errno);
  // Make the new name durable, so that a power cut right after the call does
  // not bring the old file back.
  int dir = ::open(b.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return kErrorSuccess;
}

ErrorCode HostFileSystem::CreateFolder(const DeviceParts& path) {
  fs::path host;
  if (ErrorCode e = MapOntoHost(folder_, path, host); e != kErrorSuccess) return e;
  if (::mkdir(host.c_str(), 0755) != 0) return errno == ENOENT ? kErrorPathNotFound : FromErrno(errno);
  return kErrorSuccess;
}

ErrorCode HostFileSystem::RemoveFolder(const DeviceParts& path) {
  fs::path host;
  if (ErrorCode e = MapOntoHost(folder_, path, host); e != kErrorSuccess) return e;
  if (::rmdir(host.c_str()) != 0) return FromErrno(errno);
  return kErrorSuccess;
}

ErrorCode HostFileSystem::List(const DeviceParts& folder, std::vector<FindData>& out) {
  fs::path host;
  if (ErrorCode e = MapOntoHost(folder_, folder, host); e != kErrorSuccess) return e;
  std::error_code ec;
  if (!fs::is_directory(host, ec)) return kErrorPathNotFound;
  for (fs::directory_iterator it(host, ec), end; !ec && it != end; it.increment(ec)) {
    FindData d;
    d.name = FromUtf8(it->path().filename().string());
    struct stat st {};
    if (::stat(it->path().c_str(), &st) == 0) {
      d.attributes = S_ISDIR(st.st_mode) ? kAttributeDirectory : kAttributeNormal;
      d.size = S_ISDIR(st.st_mode) ? 0 : static_cast<uint64_t>(st.st_size);
    }
    out.push_back(std::move(d));
  }
  return kErrorSuccess;
}

}  // namespace platform
