#include "tools/handheld/device_layout.h"

#include <unistd.h>

#include <fstream>
#include <system_error>

#include "applet/connections/provisioning_writer.h"
#include "applet/shell/applet_folders.h"
#include "base/host_file.h"
#include "base/registry_text.h"
#include "base/registry_tree.h"
#include "platform/connection_manager_keys.h"
#include "platform/device.h"
#include "platform/device_config.h"
#include "platform/device_path.h"
#include "platform/file.h"
#include "platform/ras_default_entry.h"
#include "platform/ras_phonebook.h"
#include "platform/sim_config.h"

namespace handheld {

namespace fs = std::filesystem;

namespace {

// Keys that exist on every device from the factory. The installation of the
// connection settings creates the applet's key; the applet only opens it.
const char16_t* const kFactoryKeys[] = {
    applet::kSettingsKey,
};

// The folders every device has: the system folder, the applet's installed
// folder and the persistent store that holds its working folder (which the
// applet creates itself).
std::vector<platform::WString> FactoryFolders() {
  return {u"\\Windows", applet::kDefaultInstalledFolder,
          platform::DeviceParentPath(applet::kDefaultWorkingFolder)};
}

// The connection manager's keys, which the phone has from the factory.
const char16_t* const kFactoryMachineKeys[] = {
    platform::connmgr::kDestinationsKey,
    platform::connmgr::kConnectionsKey,
    platform::connmgr::kDtptProviderKey,
    platform::connmgr::kProxyProviderKey,
};

// What \\Windows\\cprog.exe holds: the phone program is not emulated, only
// its presence matters.
constexpr char kPhoneProgramText[] =
    "Stands in for the phone program: its presence tells the applet that the\n"
    "configuration manager takes provisioning documents.\n";

platform::RegistryTree FactoryRegistry(const platform::DeviceConfig& config) {
  platform::RegistryTree tree;
  for (const char16_t* key : kFactoryKeys)
    tree.FindOrCreate(platform::Hive::CurrentUser, platform::SplitKeyPath(key));
  for (const char16_t* key : kFactoryMachineKeys)
    tree.FindOrCreate(platform::Hive::LocalMachine, platform::SplitKeyPath(key));
  const platform::DefaultPhonebookEntry entry = platform::MakeDefaultPhonebookEntry(config);
  platform::RegistryNode& node = tree.FindOrCreate(
      platform::Hive::CurrentUser,
      platform::SplitKeyPath(platform::WString(platform::kRasBookKey) + u"\\" + entry.name));
  for (const platform::RegistryValue& value : entry.values) node.SetValue(value);
  return tree;
}

platform::DeviceConfig LayoutConfig(const LayoutOptions& options) {
  platform::DeviceConfig config;
  config.uiLanguage = options.uiLanguage;
  if (options.uiLanguage.starts_with("fr")) config.userLocale = "fr-FR";
  return config;
}

bool Fail(std::string* why, const std::string& message) {
  if (why) *why = message;
  return false;
}

}  // namespace

bool ReadInstallManifest(const fs::path& manifest, std::vector<InstallItem>& items,
                         std::string* why) {
  std::string text;
  if (!platform::ReadHostFile(manifest, 1024 * 1024, text, why)) return false;
  size_t start = 0, lineNo = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    ++lineNo;
    if (line.empty()) continue;
    size_t tab = line.find('\t');
    if (tab == std::string::npos || tab == 0 || tab + 1 == line.size())
      return Fail(why, manifest.string() + ":" + std::to_string(lineNo) +
                           ": expected device path<TAB>host path");
    items.push_back({line.substr(0, tab), line.substr(tab + 1)});
  }
  return true;
}

fs::path DefaultInstallManifest() {
  std::error_code ec;
  fs::path self = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return {};
  return self.parent_path() / "install_manifest.txt";
}

bool IsDeviceRoot(const fs::path& dir) {
  std::error_code ec;
  return fs::is_directory(dir / "fs", ec) && fs::exists(dir / "device.ini", ec);
}

bool LayOutDevice(const fs::path& dir, const LayoutOptions& options, std::string* why) {
  std::error_code ec;
  if (fs::exists(dir, ec)) {
    if (!fs::is_directory(dir, ec)) return Fail(why, dir.string() + " exists and is not a folder");
    if (!fs::is_empty(dir, ec) && !options.force)
      return Fail(why, dir.string() + " is not empty (use --force to lay out a device over it)");
  }
  fs::create_directories(dir, ec);
  if (ec) return Fail(why, dir.string() + ": " + ec.message());
  const fs::path root = fs::absolute(dir, ec);

  std::vector<InstallItem> items;
  if (!options.manifest.empty() && !ReadInstallManifest(options.manifest, items, why)) return false;

  platform::ScopedDevice device(root);
  fs::create_directories(device.Get().FileSystemRoot(), ec);
  fs::create_directories(device.Get().ProvisioningPath(), ec);
  if (ec) return Fail(why, root.string() + ": " + ec.message());
  for (const platform::WString& folder : FactoryFolders()) {
    fs::path host;
    if (platform::ResolveDevicePath(folder, host) != platform::kErrorSuccess)
      return Fail(why, "cannot place " + platform::ToUtf8(folder));
    fs::create_directories(host, ec);
    if (ec) return Fail(why, host.string() + ": " + ec.message());
  }

  const platform::DeviceConfig config = LayoutConfig(options);
  const std::string registry = platform::FormatRegistryText(FactoryRegistry(config));
  std::string err;
  if (!platform::WriteHostFileAtomically(device.Get().RegistryPath(), registry, &err) ||
      !platform::WriteHostFileAtomically(device.Get().FactoryRegistryPath(), registry, &err) ||
      !config.ToIni().Save(device.Get().ConfigPath()))
    return Fail(why, err.empty() ? "cannot write the device's settings" : err);
  platform::SimConfig sim;
  sim.imsi = kSampleImsi;
  if (!sim.Save(device.Get().SimPath())) return Fail(why, "cannot write sim.ini");
  if (!options.phoneProgram) {
    platform::DeleteDeviceFile(applet::kPhoneProgram);
  } else if (platform::WriteDeviceFile(applet::kPhoneProgram, kPhoneProgramText) !=
             platform::kErrorSuccess) {
    return Fail(why, "cannot write " + platform::ToUtf8(applet::kPhoneProgram));
  }

  for (const auto& item : items) {
    fs::path host;
    if (platform::ResolveDevicePath(platform::FromUtf8(item.devicePath), host) !=
        platform::kErrorSuccess)
      return Fail(why, "install manifest names a bad device path: " + item.devicePath);
    fs::create_directories(host.parent_path(), ec);
    fs::copy_file(item.hostPath, host, fs::copy_options::overwrite_existing, ec);
    if (ec) return Fail(why, "cannot install " + item.hostPath.string() + ": " + ec.message());
  }
  return true;
}

}  // namespace handheld
