#pragma once
// Whole-file reads and atomic writes of host files, for the emulator's own
// state files (registry.reg, device.ini, sim.ini). A write goes to a
// temporary file in the same folder, is flushed to disk and then renamed over
// the target, so a crash or a full disk never leaves a truncated file.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

// Reads at most maxSize bytes; a larger file fails with a message.
bool ReadHostFile(const std::filesystem::path& path, size_t maxSize, std::string& out,
                  std::string* why);

bool WriteHostFileAtomically(const std::filesystem::path& path, std::string_view data,
                             std::string* why);

// An advisory lock (flock) on a host file, held for the object's lifetime.
class HostFileLock {
 public:
  enum class Mode { Shared, Exclusive };
  HostFileLock(const std::filesystem::path& lockPath, Mode mode);
  ~HostFileLock();
  HostFileLock(const HostFileLock&) = delete;
  HostFileLock& operator=(const HostFileLock&) = delete;
  bool Held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

}  // namespace platform
