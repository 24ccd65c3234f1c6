#include <iostream>

#include "tools/handheld/commands.h"
#include "tools/handheld/device_layout.h"

namespace handheld {

void AddInitCommand(CLI::App& app) {
  struct Options {
    std::string dir;
    bool force = false;
    std::string manifest;
    bool withoutPhoneProgram = false;
    std::string language = "en";
  };
  auto opts = std::make_shared<Options>();
  CLI::App* cmd = app.add_subcommand(
      "init",
      "Lay out a new device in DIR: fs/ with \\Windows, \\Yvra ROM\\GPRS Settings and\n"
      "\\Yvra File Store, the factory registry, device.ini and sim.ini (SIM ready,\n"
      "sample IMSI), and the programs and sample data of this build. The phone has\n"
      "\\Windows\\cprog.exe, so the applet writes connections as provisioning documents, and\n"
      "its phonebook holds the built-in default entry of its language.");
  cmd->add_option("DIR", opts->dir, "Folder of the new device")->required();
  cmd->add_flag("--force", opts->force, "Lay out over a folder that is not empty");
  cmd->add_option("--manifest", opts->manifest,
                  "Install manifest to use (default: the one of this build)");
  cmd->add_flag("--without-cprog", opts->withoutPhoneProgram,
                "Lay out a phone without \\Windows\\cprog.exe: the applet then writes phonebook\n"
                "entries and connection-manager keys itself");
  cmd->add_option("--language", opts->language,
                  "Language of the user interface: en (default entry \"`38400 Default\") or fr\n"
                  "(\"`D\u00e9faut 38400\")")
      ->check(CLI::IsMember({"en", "fr"}));
  cmd->callback([opts] {
    LayoutOptions options;
    options.force = opts->force;
    options.phoneProgram = !opts->withoutPhoneProgram;
    options.uiLanguage = opts->language;
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
