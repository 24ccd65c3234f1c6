#pragma once
// A throw-away emulated device for tests, made current for the test's
// lifetime: a temporary folder laid out like a device root, or a device in
// memory (the same file calls, no host files).

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "platform/device.h"
#include "platform/device_config.h"

namespace test_support {

class TempDevice {
 public:
  enum class Storage { HostFolder, Memory };

  // Creates \Windows, \Yvra ROM\GPRS Settings and \Yvra File Store.
  explicit TempDevice(Storage storage = Storage::HostFolder);
  ~TempDevice();
  TempDevice(const TempDevice&) = delete;
  TempDevice& operator=(const TempDevice&) = delete;

  Storage Kind() const { return storage_; }
  // The device root; empty for a device in memory.
  const std::filesystem::path& Root() const { return root_; }
  platform::Device& Device() { return scoped_->Get(); }

  // The host path of a file below fs/, given with forward slashes (a device
  // in folder only).
  std::filesystem::path HostPath(std::string_view relative) const;
  // Writes a file of the device's file system, given with forward slashes
  // (folders are created), bytes as given.
  void WriteFile(std::string_view relative, std::string_view bytes) const;
  // The file's bytes; empty when it cannot be read.
  std::string ReadFile(std::string_view relative) const;
  // Writes device.ini and makes the device read it again (a device in
  // folder only).
  void SetConfig(const platform::DeviceConfig& config);

 private:
  Storage storage_;
  std::filesystem::path root_;
  std::unique_ptr<platform::ScopedDevice> scoped_;
};

// A fixture file from tests/data.
std::filesystem::path DataPath(std::string_view relative);
std::string ReadDataFile(std::string_view relative);

}  // namespace test_support
