#include <iostream>

#include "base/registry_file.h"
#include "base/registry_text.h"
#include "tools/handheld/commands.h"

namespace handheld {

void AddRegCommand(CLI::App& app) {
  struct Options {
    std::string dir;
    std::string key;
  };
  auto opts = std::make_shared<Options>();
  CLI::App* cmd = app.add_subcommand(
      "reg", "Print the device's registry, or one KEY with its subkeys, in regedit syntax");
  cmd->add_option("DIR", opts->dir, "The device")->required();
  cmd->add_option("KEY", opts->key,
                  "A key such as \"HKEY_CURRENT_USER\\SOFTWARE\\ORLO\" (HKCU and HKLM work too)");
  cmd->callback([opts] {
    auto device = OpenDevice(opts->dir);
    std::string text;
    platform::ErrorCode e =
        device->Get().Registry().Read([&](const platform::RegistryTree& tree) {
          if (opts->key.empty()) {
            text = platform::FormatRegistryText(tree);
            return platform::kErrorSuccess;
          }
          auto parts = platform::SplitKeyPath(platform::FromUtf8(opts->key));
          auto hive = parts.empty() ? std::nullopt : platform::HiveFromName(parts.front());
          if (!hive) throw CommandError("KEY must start with HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER");
          parts.erase(parts.begin());
          if (tree.Find(*hive, parts) == nullptr) throw CommandError("no such key: " + opts->key);
          text = platform::FormatRegistryKey(tree, *hive, parts);
          return platform::kErrorSuccess;
        });
    if (e != platform::kErrorSuccess) {
      auto err = device->Get().Registry().LoadError();
      throw CommandError(err ? *err : "cannot read the registry");
    }
    std::cout << text;
  });
}

}  // namespace handheld
