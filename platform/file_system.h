#pragma once
// Where a device keeps the handheld's file system: the device root's fs/
// folder on the host (HostFileSystem) or the process's memory
// (MemoryFileSystem). The file calls of file.h sit on top of this interface
// and keep the handheld's rules (dispositions, sharing, error codes) in one
// place; a store only keeps names and bytes.
//
// Paths reach a store already split into names, "." and ".." resolved and
// every name checked (see device_path.h). A store matches each name without
// regard to letter case against the names that exist; names that do not
// exist yet keep the case they are given. Errors are the handheld's codes,
// as the host's POSIX calls would give them through FromErrno:
// kErrorFileNotFound when a name is missing, kErrorPathNotFound when a name
// on the way is a file (or, when creating, the folder is missing).

#include <cstdint>
#include <memory>
#include <vector>

#include "base/errors.h"
#include "base/text.h"
#include "platform/file.h"
#include "platform/file_finder.h"

namespace platform {

using DeviceParts = std::vector<WString>;

// Tells two names of one file apart from two files: equal for the same
// file, whatever name it was reached by.
struct FileId {
  const void* store = nullptr;
  uint64_t volume = 0;
  uint64_t serial = 0;
  bool operator==(const FileId&) const = default;
};

struct FileStatus {
  bool isFolder = false;
  uint64_t size = 0;  // 0 for a folder
  FileId id;
};

struct OpenMode {
  bool read = false;
  bool write = false;
  bool create = false;     // create the file when it is missing
  bool exclusive = false;  // with create: fail with kErrorAlreadyExists when present
  bool truncate = false;   // empty the file (also for a handle that only reads)
};

// One open file of a store, with its own position.
class OpenStoreFile {
 public:
  virtual ~OpenStoreFile() = default;
  // Reads up to size bytes; *read is 0 at the end of the file.
  virtual ErrorCode Read(void* buffer, size_t size, size_t* read) = 0;
  virtual ErrorCode Write(const void* data, size_t size, size_t* written) = 0;
  // kErrorInvalidParameter when the position would be negative.
  virtual ErrorCode Seek(int64_t offset, SeekOrigin origin, uint64_t* position) = 0;
  virtual ErrorCode Size(uint64_t* size) const = 0;
  // Cuts or extends the file to the current position.
  virtual ErrorCode SetEnd() = 0;
  virtual ErrorCode Flush() = 0;
  virtual FileId Id() const = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  virtual ErrorCode Status(const DeviceParts& path, FileStatus& out) = 0;
  virtual ErrorCode Open(const DeviceParts& path, const OpenMode& mode,
                         std::unique_ptr<OpenStoreFile>& out) = 0;
  // Removes a file (not a folder).
  virtual ErrorCode RemoveFile(const DeviceParts& path) = 0;
  // Gives a file or folder another name in one step, replacing a file that
  // has the new name.
  virtual ErrorCode Rename(const DeviceParts& from, const DeviceParts& to) = 0;
  // kErrorAlreadyExists when the name is taken.
  virtual ErrorCode CreateFolder(const DeviceParts& path) = 0;
  // kErrorDirNotEmpty unless the folder is empty.
  virtual ErrorCode RemoveFolder(const DeviceParts& path) = 0;
  // Every name in a folder, in no particular order.
  virtual ErrorCode List(const DeviceParts& folder, std::vector<FindData>& out) = 0;
};

}  // namespace platform
