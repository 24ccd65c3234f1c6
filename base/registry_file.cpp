#include "base/registry_file.h"

#include <sys/stat.h>

namespace platform {

RegistryFile::RegistryFile(std::filesystem::path file, StampSource stamps)
    : file_(std::move(file)),
      lockFile_(file_.parent_path() / ("." + file_.filename().string() + ".lock")),
      stamps_(std::move(stamps)) {}

RegistryFile::FileStamp RegistryFile::StampOf(const std::filesystem::path& file) {
  FileStamp s;
  struct stat st {};
  if (::stat(file.c_str(), &st) != 0) return s;
  s.exists = true;
  s.device = st.st_dev;
  s.inode = st.st_ino;
  s.size = static_cast<unsigned long long>(st.st_size);
  s.mtimeNs = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
  return s;
}

ErrorCode RegistryFile::Refresh(const HostFileLock& lock) {
  const Seen now{lock.Generation(), stamps_(file_)};
  if (loaded_ && *loaded_ == now) return loadError_ ? kErrorBadDb : kErrorSuccess;
  RegistryTree fresh;
  loadError_.reset();
  if (now.stamp.exists) {
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

bool RegistryFile::Store(HostFileLock& lock, const RegistryTree& tree) {
  // Counted before the rename: a writer that dies in between costs the
  // others a needless reload, never a missed change.
  if (!lock.AdvanceGeneration()) return false;
  RemoveLeftoverTemporaries(file_);
  if (!WriteHostFileAtomically(file_, FormatRegistryText(tree), nullptr)) return false;
  loaded_ = Seen{lock.Generation(), stamps_(file_)};
  return true;
}

ErrorCode RegistryFile::Read(const Reader& fn) {
  std::lock_guard guard(mutex_);
  if (file_.empty()) return fn(tree_);
  HostFileLock lock(lockFile_, HostFileLock::Mode::Shared);
  if (!lock.Held()) return kErrorAccessDenied;
  if (ErrorCode e = Refresh(lock); e != kErrorSuccess) return e;
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
  if (ErrorCode e = Refresh(lock); e != kErrorSuccess) return e;
  RegistryTree before = tree_;
  bool changed = false;
  ErrorCode result = fn(tree_, changed);
  if (!changed) return result;
  if (!Store(lock, tree_)) {
    tree_ = std::move(before);
    return kErrorWriteFault;
  }
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
  if (!Store(lock, tree)) return kErrorWriteFault;
  tree_ = tree;
  loadError_.reset();
  return kErrorSuccess;
}

std::optional<std::string> RegistryFile::LoadError() {
  std::lock_guard guard(mutex_);
  if (!file_.empty()) {
    HostFileLock lock(lockFile_, HostFileLock::Mode::Shared);
    if (!lock.Held()) return "cannot lock " + lockFile_.string();
    Refresh(lock);
  }
  return loadError_;
}

}  // namespace platform
