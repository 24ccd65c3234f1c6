#pragma once
// A throw-away emulated device for tests: a temporary folder laid out like a
// device root and made current for the test's lifetime.

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "platform/device.h"
#include "platform/device_config.h"

namespace test_support {

class TempDevice {
 public:
  // Creates fs/ with \Windows, \Yvra ROM\GPRS Settings and \Yvra File Store.
  TempDevice();
  ~TempDevice();
  TempDevice(const TempDevice&) = delete;
  TempDevice& operator=(const TempDevice&) = delete;

  const std::filesystem::path& Root() const { return root_; }
  platform::Device& Device() { return scoped_->Get(); }

  // The host path of a file below fs/, given with forward slashes.
  std::filesystem::path HostPath(std::string_view relative) const;
  // Writes a file below fs/ (folders are created), bytes as given.
  void WriteFile(std::string_view relative, std::string_view bytes) const;
  std::string ReadFile(std::string_view relative) const;
  // Writes device.ini and makes the device read it again.
  void SetConfig(const platform::DeviceConfig& config);

 private:
  std::filesystem::path root_;
  std::unique_ptr<platform::ScopedDevice> scoped_;
};

// A fixture file from tests/data.
std::filesystem::path DataPath(std::string_view relative);
std::string ReadDataFile(std::string_view relative);

}  // namespace test_support
