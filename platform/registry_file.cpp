#include "platform/registry_file.h"

#include <sys/stat.h>

#include "platform/host_file.h"

namespace platform {

RegistryFile::RegistryFile(std::filesystem::path file)
    : file_(std::move(file)), lockFile_(file_.parent_path() / ("." + file_.filename().string() + ".lock")) {}

RegistryFile::Stamp RegistryFile::CurrentStamp() const {
  Stamp s;
  struct stat st {};
  if (::stat(file_.c_str(), &st) != 0) return s;
  s.exists = true;
  s.device = st.st_dev;
  s.inode = st.st_ino;
  s.size = static_cast<unsigned long long>(st.st_size);
  s.mtimeNs = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
  return s;
}

ErrorCode RegistryFile::Refresh() {
  if (file_.empty()) return kErrorSuccess;
  Stamp now = CurrentStamp();
  if (loaded_ && *loaded_ == now) return loadError_ ? kErrorBadDb : kErrorSuccess;
  RegistryTree fresh;
  loadError_.reset();
  if (now.exists) {
    std::string text, why;
    if (!ReadHostFile(file_, kMaxFileSize, text, &why)) {
      loadError_ = why;
    } else {
      RegistryParseError err;
      if (!ParseRegistryText(text, fresh, &err))
        loadError_ = file_.filename().string() + ":" + std::to_string(err.line) + ": " + err.message;
    }
  }
  loaded_ = now;
  if (loadError_) return kErrorBadDb;
  tree_ = std::move(fresh);
  return kErrorSuccess;
}

ErrorCode RegistryFile::Read(const Reader& fn) {
  std::lock_guard guard(mutex_);
  if (file_.empty()) return fn(tree_);
  HostFileLock lock(lockFile_, HostFileLock::Mode::Shared);
  if (ErrorCode e = Refresh(); e != kErrorSuccess) return e;
  return fn(tree_);
}

ErrorCode RegistryFile::Modify(const Writer& fn) {
  std::lock_guard guard(mutex_);
  if (file_.empty()) {
    bool changed = false;
    return fn(tree_, changed);
  }
  HostFileLock lock(lockFile_, HostFileLock::Mode::Exclusive);
  if (!lock.Held()) return kErrorAccessDenied;
  if (ErrorCode e = Refresh(); e != kErrorSuccess) return e;
  RegistryTree before = tree_;
  bool changed = false;
  ErrorCode result = fn(tree_, changed);
  if (!changed) return result;
  if (!WriteHostFileAtomically(file_, FormatRegistryText(tree_), nullptr)) {
    tree_ = std::move(before);
    return kErrorWriteFault;
  }
  loaded_ = CurrentStamp();
  return result;
}

ErrorCode RegistryFile::Replace(const RegistryTree& tree) {
  std::lock_guard guard(mutex_);
  if (file_.empty()) {
    tree_ = tree;
    return kErrorSuccess;
  }
  HostFileLock lock(lockFile_, HostFileLock::Mode::Exclusive);
  if (!lock.Held()) return kErrorAccessDenied;
  if (!WriteHostFileAtomically(file_, FormatRegistryText(tree), nullptr)) return kErrorWriteFault;
  tree_ = tree;
  loadError_.reset();
  loaded_ = CurrentStamp();
  return kErrorSuccess;
}

std::optional<std::string> RegistryFile::LoadError() {
  std::lock_guard guard(mutex_);
  if (!file_.empty()) {
    HostFileLock lock(lockFile_, HostFileLock::Mode::Shared);
    Refresh();
  }
  return loadError_;
}

}  // namespace platform
