#pragma once
// Laying out a new emulated device: the folders of the handheld's file
// system, the factory registry, device.ini, sim.ini, and the files the build
// installs on every device (programs, libraries, sample data), listed in the
// install manifest that the build writes next to the handheld program.

#include <filesystem>
#include <string>
#include <vector>

namespace handheld {

inline constexpr const char* kSampleImsi = "208011234567890";

struct InstallItem {
  std::string devicePath;             // where it goes, e.g. \Windows\VELM.CPL
  std::filesystem::path hostPath;     // what is copied there
};

// Reads the manifest: one "device path<TAB>host path" line per file.
bool ReadInstallManifest(const std::filesystem::path& manifest, std::vector<InstallItem>& items,
                         std::string* why);

// The manifest the build wrote for this program, next to the executable.
std::filesystem::path DefaultInstallManifest();

struct LayoutOptions {
  bool force = false;                      // lay out over a non-empty folder
  std::filesystem::path manifest;          // empty: nothing is installed
  bool phoneProgram = true;                // lay out \Windows\cprog.exe
  std::string uiLanguage = "en";           // "en" or "fr": device.ini and the default entry
};

// Lays out a device in dir. Refuses a non-empty folder unless force, in which
// case the device's state files are written anew, and fs/ keeps its files
// except those the manifest installs.
bool LayOutDevice(const std::filesystem::path& dir, const LayoutOptions& options,
                  std::string* why);

// Whether dir looks like a device root.
bool IsDeviceRoot(const std::filesystem::path& dir);

}  // namespace handheld
