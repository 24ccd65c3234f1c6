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
  bool bundle = false;                // part of the operator's bundle, not of the phone
};

// Reads the manifest: one "device path<TAB>host path" line per file, with a
// third field "bundle" for the files of the operator's bundle.
bool ReadInstallManifest(const std::filesystem::path& manifest, std::vector<InstallItem>& items,
                         std::string* why);

// The manifest the build wrote for this program, next to the executable.
std::filesystem::path DefaultInstallManifest();

struct LayoutOptions {
  bool force = false;                      // lay out over a non-empty folder
  std::filesystem::path manifest;          // empty: nothing is installed
  bool bundle = true;                      // install the bundle's files too
  bool phoneProgram = true;                // lay out \Windows\cprog.exe
  bool mmsClient = true;                   // the MMS client's registry keys
  std::string uiLanguage = "en";           // "en" or "fr": device.ini and the default entry
};

// The SIM toolkit of the phone: its start menu shortcut (named in the
// registry), its help shortcut and its loader's window, which the bundle's
// setup extension removes and stops.
inline constexpr char16_t kToolkitShortcutName[] = u"SIM Toolkit";

// Lays out a device in dir. Refuses a non-empty folder unless force, in which
// case the device's state files are written anew, and fs/ keeps its files
// except those the manifest installs.
bool LayOutDevice(const std::filesystem::path& dir, const LayoutOptions& options,
                  std::string* why);

// Copies items into the current device's file system; false with *why at
// the first that fails.
bool CopyInstallItems(const std::vector<InstallItem>& items, std::string* why);

// Whether dir looks like a device root.
bool IsDeviceRoot(const std::filesystem::path& dir);

}  // namespace handheld
