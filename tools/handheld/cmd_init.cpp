#include <iostream>

#include "tools/handheld/commands.h"
#include "tools/handheld/device_layout.h"

namespace handheld {

void AddInitCommand(CLI::App& app) {
  struct Options {
    std::string dir;
    bool force = false;
    std::string manifest;
  };
  auto opts = std::make_shared<Options>();
  CLI::App* cmd = app.add_subcommand(
      "init",
      "Lay out a new device in DIR: fs/ with \\Windows, \\Yvra ROM\\GPRS Settings and\n"
      "\\Yvra File Store, the factory registry, device.ini and sim.ini (SIM ready,\n"
      "sample IMSI), and the programs and sample data of this build.");
  cmd->add_option("DIR", opts->dir, "Folder of the new device")->required();
  cmd->add_flag("--force", opts->force, "Lay out over a folder that is not empty");
  cmd->add_option("--manifest", opts->manifest,
                  "Install manifest to use (default: the one of this build)");
  cmd->callback([opts] {
    LayoutOptions options;
    options.force = opts->force;
    options.manifest = opts->manifest.empty() ? DefaultInstallManifest()
                                              : std::filesystem::path(opts->manifest);
    std::error_code ec;
    if (opts->manifest.empty() && !std::filesystem::exists(options.manifest, ec))
      options.manifest.clear();
    std::string why;
    if (!LayOutDevice(opts->dir, options, &why)) throw CommandError(why);
    std::cout << "laid out a device in " << opts->dir << "\n";
  });
}

}  // namespace handheld
