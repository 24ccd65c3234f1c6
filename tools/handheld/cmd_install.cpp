// handheld install / uninstall: the operator's bundle put on a device, or
// taken off it, as the platform's cabinet installer does.

#include <iostream>

#include "tools/handheld/bundle_installer.h"
#include "tools/handheld/commands.h"
#include "tools/handheld/device_layout.h"

namespace handheld {

namespace {

std::vector<InstallItem> ManifestItems(const std::string& manifest) {
  const std::filesystem::path path =
      manifest.empty() ? DefaultInstallManifest() : std::filesystem::path(manifest);
  std::vector<InstallItem> items;
  std::string why;
  if (!ReadInstallManifest(path, items, &why)) throw CommandError(why);
  return items;
}

using BundleAction = bool (*)(const std::vector<InstallItem>&, std::string*);

void AddBundleCommand(CLI::App& app, const char* name, const char* description, BundleAction action,
                      const char* done) {
  struct Options {
    std::string dir;
    std::string manifest;
  };
  auto opts = std::make_shared<Options>();
  CLI::App* cmd = app.add_subcommand(name, description);
  cmd->add_option("DIR", opts->dir, "The device")->required();
  cmd->add_option("--manifest", opts->manifest,
                  "Install manifest naming the bundle's files (default: the one of this build)");
  cmd->callback([opts, action, done] {
    auto items = ManifestItems(opts->manifest);
    auto device = OpenDevice(opts->dir);
    std::string why;
    if (!action(items, &why)) throw CommandError(why);
    std::cout << done << " (the journal lists each step)\n";
  });
}

}  // namespace

void AddInstallCommands(CLI::App& app) {
  AddBundleCommand(
      app, "install",
      "Install the operator's bundle on the device as the cabinet installer does: copy\n"
      "\\Windows\\Kaldset.dll, call its Install_Init, copy the bundle's programs and data\n"
      "(VELM.CPL, VELMauto.exe, rebooter.exe, the resource library and the databases) and\n"
      "call Install_Exit, which stops the SIM toolkit loader, removes its shortcuts and\n"
      "starts the connection settings. Every step is journalled.",
      InstallBundle, "installed the bundle");
  AddBundleCommand(
      app, "uninstall",
      "Remove the operator's bundle as the cabinet installer does: call Uninstall_Init of\n"
      "\\Windows\\Kaldset.dll, delete the bundle's files, call Uninstall_Exit, delete the\n"
      "extension. The files under the applet's working folder stay.",
      UninstallBundle, "removed the bundle");
}

}  // namespace handheld
