#pragma once
// The handheld's file system kept in the process's memory, for devices that
// need no host folder: tests and fuzz targets that would otherwise spend
// their time in the host's file calls. It answers every call as
// HostFileSystem does on a local disk (the same error codes, the same
// matching of names), files keep their bytes while a handle is open after
// their name is removed, and an open handle keeps the store alive.
//
// No file grows beyond kMaxFileSize: a write or an end set past it fails
// with kErrorDiskFull, so a far seek cannot make the process allocate
// without bound.

#include <memory>

#include "platform/file_system.h"

namespace platform {

struct MemoryTree;

class MemoryFileSystem final : public FileSystem {
 public:
  static constexpr uint64_t kMaxFileSize = 64 * 1024 * 1024;

  MemoryFileSystem();
  ~MemoryFileSystem() override;
  MemoryFileSystem(const MemoryFileSystem&) = delete;
  MemoryFileSystem& operator=(const MemoryFileSystem&) = delete;

  ErrorCode Status(const DeviceParts& path, FileStatus& out) override;
  ErrorCode Open(const DeviceParts& path, const OpenMode& mode,
                 std::unique_ptr<OpenStoreFile>& out) override;
  ErrorCode RemoveFile(const DeviceParts& path) override;
  ErrorCode Rename(const DeviceParts& from, const DeviceParts& to) override;
  ErrorCode CreateFolder(const DeviceParts& path) override;
  ErrorCode RemoveFolder(const DeviceParts& path) override;
  ErrorCode List(const DeviceParts& folder, std::vector<FindData>& out) override;

 private:
  std::shared_ptr<MemoryTree> tree_;
};

}  // namespace platform
