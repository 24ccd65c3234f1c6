#include "platform/device.h"

#include <cstdlib>

#include "base/registry_file.h"
#include "platform/host_file_system.h"
#include "platform/journal.h"
#include "platform/memory_file_system.h"

namespace platform {

Device::Device(std::filesystem::path root) : root_(std::move(root)) {
  if (HasRoot()) files_ = std::make_unique<HostFileSystem>(FileSystemRoot());
}

Device::Device(InMemory) : files_(std::make_unique<MemoryFileSystem>()) {}
Device::~Device() = default;

void Device::LoadConfigLocked() {
  if (config_) return;
  configError_.reset();
  if (!HasRoot()) {
    config_ = DeviceConfig{};
    return;
  }
  HostIni::Error err;
  auto ini = HostIni::Load(ConfigPath(), &err);
  if (!ini) {
    // A device without device.ini simply has the default facts; one that
    // cannot be read or parsed has them too, and says why.
    if (err.status != HostIniStatus::Missing)
      configError_ = err.line != 0 ? "device.ini:" + std::to_string(err.line) + ": " + err.message : err.message;
    config_ = DeviceConfig{};
    return;
  }
  std::string why;
  auto parsed = DeviceConfig::FromIni(*ini, &why);
  if (!parsed) {
    configError_ = why;
    config_ = DeviceConfig{};
    return;
  }
  config_ = std::move(*parsed);
}

const DeviceConfig& Device::Config() {
  std::lock_guard guard(mutex_);
  LoadConfigLocked();
  return *config_;
}

const std::optional<std::string>& Device::ConfigError() {
  std::lock_guard guard(mutex_);
  LoadConfigLocked();
  return configError_;
}

void Device::ReloadConfig() {
  std::lock_guard guard(mutex_);
  config_.reset();
}

RegistryFile& Device::Registry() {
  std::lock_guard guard(mutex_);
  if (!registry_) {
    registry_ = HasRoot() ? std::make_unique<RegistryFile>(RegistryPath())
                          : std::make_unique<RegistryFile>();
  }
  return *registry_;
}

platform::Journal& Device::Journal() {
  std::lock_guard guard(mutex_);
  if (!journal_) journal_ = std::make_unique<platform::Journal>(HasRoot() ? JournalPath() : "");
  return *journal_;
}

namespace {

std::mutex g_currentMutex;
std::shared_ptr<Device> g_installed;
std::shared_ptr<Device> g_fromEnvironment;

}  // namespace

Device& CurrentDevice() {
  std::lock_guard guard(g_currentMutex);
  if (g_installed) return *g_installed;
  if (!g_fromEnvironment) {
    const char* root = std::getenv(Device::kRootVariable);
    g_fromEnvironment = std::make_shared<Device>(root != nullptr ? root : "");
  }
  return *g_fromEnvironment;
}

ScopedDevice::ScopedDevice(std::filesystem::path root)
    : device_(std::make_shared<Device>(std::move(root))) {
  Install();
}

ScopedDevice::ScopedDevice(Device::InMemory memory) : device_(std::make_shared<Device>(memory)) {
  Install();
}

void ScopedDevice::Install() {
  std::lock_guard guard(g_currentMutex);
  previous_ = g_installed;
  g_installed = device_;
}

ScopedDevice::~ScopedDevice() {
  std::lock_guard guard(g_currentMutex);
  g_installed = previous_;
}

}  // namespace platform
