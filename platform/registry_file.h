#pragma once
// A registry tree kept in a regedit-syntax text file, shared between
// processes. Every operation takes an advisory lock on a companion lock file
// (shared for reading, exclusive for changing), re-reads the text file when
// another process has replaced it since we last saw it, and a change is
// written back at once and atomically (temporary file, then rename). So two
// processes never lose each other's writes, and a crash never leaves half a
// file.
//
// A file that does not parse is never overwritten: every operation fails
// with kErrorBadDb until the file is repaired, and LoadError() tells where.
// A missing file reads as an empty registry; the first change creates it.
// An object made without a path keeps its tree in memory only.

#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>

#include "platform/errors.h"
#include "platform/registry_text.h"
#include "platform/registry_tree.h"

namespace platform {

class RegistryFile {
 public:
  // The largest registry file that is read.
  static constexpr size_t kMaxFileSize = 64 * 1024 * 1024;

  RegistryFile() = default;  // in memory only
  explicit RegistryFile(std::filesystem::path file);

  using Reader = std::function<ErrorCode(const RegistryTree&)>;
  // The writer sets changed when it altered the tree; only then is the file
  // written. If writing fails the change is rolled back in memory too.
  using Writer = std::function<ErrorCode(RegistryTree&, bool& changed)>;

  ErrorCode Read(const Reader& fn);
  ErrorCode Modify(const Writer& fn);

  // Replaces the whole content (used to restore the factory registry).
  ErrorCode Replace(const RegistryTree& tree);

  // Why the last load failed ("registry.reg:12: message"), if it did.
  std::optional<std::string> LoadError();

  const std::filesystem::path& Path() const { return file_; }

 private:
  struct Stamp {
    bool exists = false;
    unsigned long long device = 0, inode = 0, size = 0;
    long long mtimeNs = 0;
    bool operator==(const Stamp&) const = default;
  };
  Stamp CurrentStamp() const;
  // Reloads when the file changed; call with the lock held.
  ErrorCode Refresh();

  std::filesystem::path file_;
  std::filesystem::path lockFile_;
  std::mutex mutex_;  // threads of this process
  RegistryTree tree_;
  std::optional<Stamp> loaded_;
  std::optional<std::string> loadError_;
};

}  // namespace platform
