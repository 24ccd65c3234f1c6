#include "platform/file.h"

#include <mutex>
#include <vector>

#include "platform/device_path.h"
#include "platform/file_system.h"

namespace platform {

namespace {

// Handles open in this process, for the sharing rules.
struct OpenRecord {
  const void* owner;
  FileId id;
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

bool IsOpenHere(const FileId& id) {
  for (const auto& r : g_open)
    if (r.id == id) return true;
  return false;
}

ErrorCode Fail(ErrorCode e) {
  SetLastError(e);
  return e;
}

// What a disposition asks of the store, or the error it gives by itself.
ErrorCode ModeFor(CreationDisposition disposition, bool exists, OpenMode& mode) {
  switch (disposition) {
    case CreationDisposition::CreateNew:
      if (exists) return kErrorFileExists;
      mode.create = mode.exclusive = true;
      break;
    case CreationDisposition::CreateAlways: mode.create = mode.truncate = true; break;
    case CreationDisposition::OpenExisting:
      if (!exists) return kErrorFileNotFound;
      break;
    case CreationDisposition::OpenAlways: mode.create = true; break;
    case CreationDisposition::TruncateExisting:
      if (!exists) return kErrorFileNotFound;
      mode.truncate = true;
      break;
  }
  return kErrorSuccess;
}

}  // namespace

struct File::Handle {
  std::unique_ptr<OpenStoreFile> file;
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
  FileSystem* store = nullptr;
  DeviceParts parts;
  if (ErrorCode e = LocateDevicePath(path, store, parts); e != kErrorSuccess) return Fail(e);
  if ((access & (kGenericRead | kGenericWrite)) == 0) access |= kGenericRead;

  std::lock_guard guard(g_openMutex);
  FileStatus status;
  const ErrorCode statusError = store->Status(parts, status);
  const bool exists = statusError == kErrorSuccess;
  if (exists && status.isFolder) return Fail(kErrorAccessDenied);
  if (!exists && statusError != kErrorFileNotFound) return Fail(statusError);
  if (exists) {
    for (const auto& r : g_open)
      if (r.id == status.id && Conflicts(r, access, share)) return Fail(kErrorSharingViolation);
  }

  OpenMode mode;
  mode.read = (access & kGenericRead) != 0;
  mode.write = (access & kGenericWrite) != 0;
  if (ErrorCode e = ModeFor(disposition, exists, mode); e != kErrorSuccess) return Fail(e);
  std::unique_ptr<OpenStoreFile> opened;
  if (ErrorCode e = store->Open(parts, mode, opened); e != kErrorSuccess) return Fail(e);
  handle_ = std::make_unique<Handle>();
  handle_->file = std::move(opened);
  g_open.push_back({this, handle_->file->Id(), access, share});
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
  handle_.reset();
}

bool File::IsOpen() const { return handle_ != nullptr; }

ErrorCode File::Read(void* buffer, size_t size, size_t* read) {
  if (read) *read = 0;
  if (!handle_) return Fail(kErrorInvalidHandle);
  size_t n = 0;
  if (ErrorCode e = handle_->file->Read(buffer, size, &n); e != kErrorSuccess) return Fail(e);
  if (read) *read = n;
  return kErrorSuccess;
}

ErrorCode File::Write(const void* data, size_t size, size_t* written) {
  if (written) *written = 0;
  if (!handle_) return Fail(kErrorInvalidHandle);
  size_t n = 0;
  const ErrorCode e = handle_->file->Write(data, size, &n);
  if (written) *written = n;
  return e == kErrorSuccess ? e : Fail(e);
}

ErrorCode File::Seek(int64_t offset, SeekOrigin origin, uint64_t* position) {
  if (!handle_) return Fail(kErrorInvalidHandle);
  uint64_t at = 0;
  if (ErrorCode e = handle_->file->Seek(offset, origin, &at); e != kErrorSuccess) return Fail(e);
  if (position) *position = at;
  return kErrorSuccess;
}

ErrorCode File::Size(uint64_t* size) const {
  if (!handle_) return Fail(kErrorInvalidHandle);
  if (ErrorCode e = handle_->file->Size(size); e != kErrorSuccess) return Fail(e);
  return kErrorSuccess;
}

ErrorCode File::SetEnd() {
  if (!handle_) return Fail(kErrorInvalidHandle);
  if (ErrorCode e = handle_->file->SetEnd(); e != kErrorSuccess) return Fail(e);
  return kErrorSuccess;
}

ErrorCode File::Flush() {
  if (!handle_) return Fail(kErrorInvalidHandle);
  if (ErrorCode e = handle_->file->Flush(); e != kErrorSuccess) return Fail(e);
  return kErrorSuccess;
}

uint32_t GetFileAttributes(WStringView path) {
  FileSystem* store = nullptr;
  DeviceParts parts;
  FileStatus status;
  ErrorCode e = LocateDevicePath(path, store, parts);
  if (e == kErrorSuccess) e = store->Status(parts, status);
  if (e != kErrorSuccess) {
    SetLastError(e);
    return kInvalidAttributes;
  }
  return status.isFolder ? kAttributeDirectory : kAttributeNormal;
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
  FileSystem* store = nullptr;
  DeviceParts parts;
  if (ErrorCode e = LocateDevicePath(path, store, parts); e != kErrorSuccess) return Fail(e);
  std::lock_guard guard(g_openMutex);
  FileStatus status;
  if (ErrorCode e = store->Status(parts, status); e != kErrorSuccess) return Fail(e);
  if (status.isFolder) return Fail(kErrorAccessDenied);
  // The handheld refuses to delete a file that is open.
  if (IsOpenHere(status.id)) return Fail(kErrorSharingViolation);
  if (ErrorCode e = store->RemoveFile(parts); e != kErrorSuccess) return Fail(e);
  return kErrorSuccess;
}

ErrorCode MoveDeviceFile(WStringView from, WStringView to) {
  FileSystem* store = nullptr;
  DeviceParts a, b;
  if (ErrorCode e = LocateDevicePath(from, store, a); e != kErrorSuccess) return Fail(e);
  if (ErrorCode e = LocateDevicePath(to, store, b); e != kErrorSuccess) return Fail(e);
  FileStatus status;
  if (ErrorCode e = store->Status(a, status); e != kErrorSuccess) return Fail(e);
  if (store->Status(b, status) == kErrorSuccess) return Fail(kErrorAlreadyExists);
  if (ErrorCode e = store->Rename(a, b); e != kErrorSuccess) return Fail(e);
  return kErrorSuccess;
}

ErrorCode ReplaceDeviceFile(WStringView from, WStringView to) {
  FileSystem* store = nullptr;
  DeviceParts a, b;
  if (ErrorCode e = LocateDevicePath(from, store, a); e != kErrorSuccess) return Fail(e);
  if (ErrorCode e = LocateDevicePath(to, store, b); e != kErrorSuccess) return Fail(e);
  std::lock_guard guard(g_openMutex);
  FileStatus status;
  if (ErrorCode e = store->Status(a, status); e != kErrorSuccess) return Fail(e);
  if (status.isFolder) return Fail(kErrorAccessDenied);
  if (store->Status(b, status) == kErrorSuccess) {
    if (status.isFolder) return Fail(kErrorAccessDenied);
    // The handheld refuses to overwrite a file that is open.
    if (IsOpenHere(status.id)) return Fail(kErrorSharingViolation);
  }
  if (ErrorCode e = store->Rename(a, b); e != kErrorSuccess) return Fail(e);
  return kErrorSuccess;
}

ErrorCode CreateDeviceDirectory(WStringView path) {
  FileSystem* store = nullptr;
  DeviceParts parts;
  if (ErrorCode e = LocateDevicePath(path, store, parts); e != kErrorSuccess) return Fail(e);
  if (ErrorCode e = store->CreateFolder(parts); e != kErrorSuccess) return Fail(e);
  return kErrorSuccess;
}

ErrorCode RemoveDeviceDirectory(WStringView path) {
  FileSystem* store = nullptr;
  DeviceParts parts;
  if (ErrorCode e = LocateDevicePath(path, store, parts); e != kErrorSuccess) return Fail(e);
  if (parts.empty()) return Fail(kErrorAccessDenied);  // the root stays
  if (ErrorCode e = store->RemoveFolder(parts); e != kErrorSuccess) return Fail(e);
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
