#pragma once
// The handheld's file system as a folder on the host: a device root's fs/.
// Each call maps the names onto host names (see device_path.h) and makes
// the POSIX call; a symbolic link never leads outside the folder.

#include <filesystem>

#include "platform/file_system.h"

namespace platform {

class HostFileSystem final : public FileSystem {
 public:
  explicit HostFileSystem(std::filesystem::path folder) : folder_(std::move(folder)) {}

  ErrorCode Status(const DeviceParts& path, FileStatus& out) override;
  ErrorCode Open(const DeviceParts& path, const OpenMode& mode,
                 std::unique_ptr<OpenStoreFile>& out) override;
  ErrorCode RemoveFile(const DeviceParts& path) override;
  ErrorCode Rename(const DeviceParts& from, const DeviceParts& to) override;
  ErrorCode CreateFolder(const DeviceParts& path) override;
  ErrorCode RemoveFolder(const DeviceParts& path) override;
  ErrorCode List(const DeviceParts& folder, std::vector<FindData>& out) override;

 private:
  std::filesystem::path folder_;
};

}  // namespace platform
