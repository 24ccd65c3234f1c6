#pragma once
// Whole-file reads and atomic writes of host files, for the emulator's own
// state files (registry.reg, device.ini, sim.ini). A write goes to a
// temporary file in the same folder (".<name>.tmp<random>"), is flushed to
// disk and then renamed over the target, so a crash or a full disk never
// leaves a truncated file.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "base/errors.h"

namespace platform {

// Reads at most maxSize bytes; a larger file fails with a message. *code,
// when given, receives why in the platform's terms: kErrorFileNotFound or
// kErrorPathNotFound for a missing file, kErrorFileTooLarge, or the code of
// the host's error.
bool ReadHostFile(const std::filesystem::path& path, size_t maxSize, std::string& out,
                  std::string* why, ErrorCode* code = nullptr);

bool WriteHostFileAtomically(const std::filesystem::path& path, std::string_view data,
                             std::string* why);

// Removes the temporaries of path that a writer killed half-way left behind.
// Only safe while no other writer of path runs, that is under its lock.
// Returns how many were removed.
size_t RemoveLeftoverTemporaries(const std::filesystem::path& path);

// An advisory lock (flock) on a host file, held for the object's lifetime.
//
// The lock file also carries a generation number: 8 bytes, little-endian,
// at its start (an empty file is generation 0). A holder of the exclusive
// lock counts it up with every change of the file the lock guards, so a
// holder of either lock can tell whether that file changed since it last
// looked, however coarse the file system's time stamps are.
class HostFileLock {
 public:
  enum class Mode { Shared, Exclusive };
  HostFileLock(const std::filesystem::path& lockPath, Mode mode);
  ~HostFileLock();
  HostFileLock(const HostFileLock&) = delete;
  HostFileLock& operator=(const HostFileLock&) = delete;
  bool Held() const { return fd_ >= 0; }

  uint64_t Generation() const;
  // Counts the generation up by one; exclusive holders only. False when it
  // could not be stored.
  bool AdvanceGeneration();

 private:
  int fd_ = -1;
  Mode mode_;
};

}  // namespace platform
