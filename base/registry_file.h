#pragma once
// A registry tree kept in a regedit-syntax text file, shared between
// processes. Every operation takes an advisory lock on a companion lock file
// (shared for reading, exclusive for changing), re-reads the text file when
// it changed since we last saw it, and a change is written back at once and
// atomically (temporary file, then rename). So two processes never lose each
// other's writes, and a crash never leaves half a file.
//
// Whether the file changed is told by the generation number kept in the lock
// file (see HostFileLock), which every change through this class counts up
// under the exclusive lock, together with the file's identity, size and
// modification time for changes made by other means (a text editor). The
// generation cannot repeat where the file stamps can: on a file system with
// one-second time stamps two quick renames may leave the same inode, size
// and time behind.
//
// Temporaries that a writer killed half-way left behind are removed by the
// next change, under the lock.
//
// A file that does not parse is never overwritten: every operation fails
// with kErrorBadDb until the file is repaired, and LoadError() tells where.
// A missing file reads as an empty registry; the first change creates it.
// An object made without a path keeps its tree in memory only.

#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>

#include "base/errors.h"
#include "base/host_file.h"
#include "base/registry_text.h"
#include "base/registry_tree.h"

namespace platform {

class RegistryFile {
 public:
  // The largest registry file that is read.
  static constexpr size_t kMaxFileSize = 64 * 1024 * 1024;

  // What the file system tells about the file.
  struct FileStamp {
    bool exists = false;
    unsigned long long device = 0, inode = 0, size = 0;
    long long mtimeNs = 0;
    bool operator==(const FileStamp&) const = default;
  };
  using StampSource = std::function<FileStamp(const std::filesystem::path&)>;
  static FileStamp StampOf(const std::filesystem::path& file);

  RegistryFile() = default;  // in memory only
  explicit RegistryFile(std::filesystem::path file, StampSource stamps = StampOf);

  using Reader = std::function<ErrorCode(const RegistryTree&)>;
  // The writer sets changed when it altered the tree; only then is the file
  // written. If writing fails the change is rolled back in memory too.
  using Writer = std::function<ErrorCode(RegistryTree&, bool& changed)>;

  // Both fail with kErrorAccessDenied when the lock cannot be taken.
  ErrorCode Read(const Reader& fn);
  ErrorCode Modify(const Writer& fn);

  // Replaces the whole content (used to restore the factory registry).
  ErrorCode Replace(const RegistryTree& tree);

  // Why the last load failed ("registry.reg:12: message"), if it did.
  std::optional<std::string> LoadError();

  const std::filesystem::path& Path() const { return file_; }

 private:
  // What a loaded tree corresponds to.
  struct Seen {
    uint64_t generation = 0;
    FileStamp stamp;
    bool operator==(const Seen&) const = default;
  };
  // Reloads when the file changed; call with the lock held.
  ErrorCode Refresh(const HostFileLock& lock);
  // Writes the tree under the exclusive lock and records it as seen.
  bool Store(HostFileLock& lock, const RegistryTree& tree);

  std::filesystem::path file_;
  std::filesystem::path lockFile_;
  StampSource stamps_;
  std::mutex mutex_;  // threads of this process
  RegistryTree tree_;
  std::optional<Seen> loaded_;
  std::optional<std::string> loadError_;
};

}  // namespace platform
