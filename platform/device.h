#pragma once
// The emulated handheld a process runs on: a folder on the host, the device
// root, chosen by the environment variable VELM_DEVICE_ROOT.
//
//   fs/               the handheld's file system
//   registry.reg      both registry hives (regedit syntax, UTF-8)
//   registry.factory.reg  the registry as "handheld init" wrote it; a hard
//                     reset restores it
//   device.ini        platform facts (DeviceConfig)
//   sim.ini           the SIM card, as the SIM utility library reports it
//   journal.log       one line per platform event that leaves no other trace
//   provisioning/     documents handed to the configuration manager
//
// One device is current per process. Tests install their own (a temporary
// folder) with ScopedDevice. A device without a root (VELM_DEVICE_ROOT unset)
// has no files, an empty in-memory registry and default facts, so every call
// fails cleanly instead of touching the host.
//
// A device in memory (Device::InMemory) has no root either, but a file
// system, registry and journal of its own in the process's memory, and the
// default facts. It is for tests and fuzz targets that run many inputs: no
// host file is touched, and dropping the device drops everything. What only
// the host can do with a file is not found there: loading a module, starting
// a program; documents handed to the configuration manager are not recorded.

#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "platform/device_config.h"

namespace platform {

class RegistryFile;
class Journal;
class FileSystem;

class Device {
 public:
  static constexpr const char* kRootVariable = "VELM_DEVICE_ROOT";

  // No I/O here; each part is read when first used.
  explicit Device(std::filesystem::path root);
  struct InMemory {};
  explicit Device(InMemory);
  ~Device();
  Device(const Device&) = delete;
  Device& operator=(const Device&) = delete;

  bool HasRoot() const { return !root_.empty(); }
  const std::filesystem::path& Root() const { return root_; }
  std::filesystem::path FileSystemRoot() const { return root_ / "fs"; }
  std::filesystem::path RegistryPath() const { return root_ / "registry.reg"; }
  std::filesystem::path FactoryRegistryPath() const { return root_ / "registry.factory.reg"; }
  std::filesystem::path ConfigPath() const { return root_ / "device.ini"; }
  std::filesystem::path SimPath() const { return root_ / "sim.ini"; }
  std::filesystem::path JournalPath() const { return root_ / "journal.log"; }
  std::filesystem::path ProvisioningPath() const { return root_ / "provisioning"; }

  // device.ini, read once; defaults when the file is missing or malformed
  // (ConfigError then tells why).
  const DeviceConfig& Config();
  const std::optional<std::string>& ConfigError();
  // Re-reads device.ini on next use (after a tool changed it).
  void ReloadConfig();

  // The handheld's file system: fs/ below the root, the memory of a device
  // in memory, null for a device without either.
  FileSystem* Files() { return files_.get(); }
  RegistryFile& Registry();
  platform::Journal& Journal();

 private:
  void LoadConfigLocked();

  std::filesystem::path root_;
  std::unique_ptr<FileSystem> files_;
  std::mutex mutex_;
  std::optional<DeviceConfig> config_;
  std::optional<std::string> configError_;
  std::unique_ptr<RegistryFile> registry_;
  std::unique_ptr<platform::Journal> journal_;
};

// The process's current device: the installed one, else the one named by
// VELM_DEVICE_ROOT (created on first use).
Device& CurrentDevice();

// Makes a device current for the lifetime of the object (tests, tools).
class ScopedDevice {
 public:
  explicit ScopedDevice(std::filesystem::path root);
  explicit ScopedDevice(Device::InMemory);
  ~ScopedDevice();
  ScopedDevice(const ScopedDevice&) = delete;
  ScopedDevice& operator=(const ScopedDevice&) = delete;
  Device& Get() { return *device_; }

 private:
  void Install();

  std::shared_ptr<Device> device_;
  std::shared_ptr<Device> previous_;
};

}  // namespace platform
