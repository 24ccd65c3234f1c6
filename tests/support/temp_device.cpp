#include "tests/support/temp_device.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>
#include <sstream>

#include "platform/file.h"

namespace test_support {

namespace fs = std::filesystem;

namespace {

constexpr const char* kStandardFolders[] = {"Windows", "Yvra ROM/GPRS Settings",
                                            "Yvra File Store"};
// Files a test reads back whole.
constexpr size_t kMaxReadBack = 64 * 1024 * 1024;

platform::WString DevicePathOf(std::string_view relative) {
  platform::WString path = u"\\" + platform::FromUtf8(relative);
  for (char16_t& c : path)
    if (c == u'/') c = u'\\';
  return path;
}

// Creates every folder on the way to a file of a device in memory.
void CreateFoldersFor(std::string_view relative) {
  for (size_t slash = relative.find('/'); slash != std::string_view::npos;
       slash = relative.find('/', slash + 1)) {
    const platform::ErrorCode e = platform::CreateDeviceDirectory(DevicePathOf(relative.substr(0, slash)));
    if (e != platform::kErrorSuccess && e != platform::kErrorAlreadyExists)
      throw std::runtime_error("cannot create the folders of " + std::string(relative));
  }
}

}  // namespace

TempDevice::TempDevice(Storage storage) : storage_(storage) {
  if (storage_ == Storage::Memory) {
    scoped_ = std::make_unique<platform::ScopedDevice>(platform::Device::InMemory{});
    for (const char* folder : kStandardFolders) CreateFoldersFor(std::string(folder) + "/");
    return;
  }
  std::string pattern = (fs::temp_directory_path() / "velm-device-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  root_ = pattern;
  for (const char* folder : kStandardFolders) fs::create_directories(root_ / "fs" / folder);
  fs::create_directories(root_ / "provisioning");
  scoped_ = std::make_unique<platform::ScopedDevice>(root_);
}

TempDevice::~TempDevice() {
  scoped_.reset();
  if (root_.empty()) return;
  std::error_code ec;
  fs::remove_all(root_, ec);
}

fs::path TempDevice::HostPath(std::string_view relative) const {
  if (storage_ == Storage::Memory) throw std::logic_error("a device in memory has no host files");
  return root_ / "fs" / fs::path(relative).relative_path();
}

void TempDevice::WriteFile(std::string_view relative, std::string_view bytes) const {
  if (storage_ == Storage::Memory) {
    CreateFoldersFor(relative);
    if (platform::WriteDeviceFile(DevicePathOf(relative), std::string(bytes)) != platform::kErrorSuccess)
      throw std::runtime_error("cannot write " + std::string(relative));
    return;
  }
  fs::path p = HostPath(relative);
  fs::create_directories(p.parent_path());
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + p.string());
}

std::string TempDevice::ReadFile(std::string_view relative) const {
  if (storage_ == Storage::Memory) {
    std::string bytes;
    platform::ReadDeviceFile(DevicePathOf(relative), kMaxReadBack, bytes);
    return bytes;
  }
  std::ifstream in(HostPath(relative), std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void TempDevice::SetConfig(const platform::DeviceConfig& config) {
  if (storage_ == Storage::Memory) throw std::logic_error("a device in memory has no device.ini");
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
