#include "tests/support/temp_device.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>
#include <sstream>

namespace test_support {

namespace fs = std::filesystem;

TempDevice::TempDevice() {
  std::string pattern = (fs::temp_directory_path() / "velm-device-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  root_ = pattern;
  for (const char* folder : {"fs/Windows", "fs/Yvra ROM/GPRS Settings", "fs/Yvra File Store",
                             "provisioning"})
    fs::create_directories(root_ / folder);
  scoped_ = std::make_unique<platform::ScopedDevice>(root_);
}

TempDevice::~TempDevice() {
  scoped_.reset();
  std::error_code ec;
  fs::remove_all(root_, ec);
}

fs::path TempDevice::HostPath(std::string_view relative) const {
  return root_ / "fs" / fs::path(relative).relative_path();
}

void TempDevice::WriteFile(std::string_view relative, std::string_view bytes) const {
  fs::path p = HostPath(relative);
  fs::create_directories(p.parent_path());
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + p.string());
}

std::string TempDevice::ReadFile(std::string_view relative) const {
  std::ifstream in(HostPath(relative), std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void TempDevice::SetConfig(const platform::DeviceConfig& config) {
  if (!config.ToIni().Save(root_ / "device.ini")) throw std::runtime_error("cannot write device.ini");
  Device().ReloadConfig();
}

fs::path DataPath(std::string_view relative) { return fs::path(VELM_TEST_DATA_DIR) / relative; }

std::string ReadDataFile(std::string_view relative) {
  std::ifstream in(DataPath(relative), std::ios::binary);
  if (!in) throw std::runtime_error("missing fixture " + std::string(relative));
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace test_support
