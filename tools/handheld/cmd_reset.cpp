#include <iostream>

#include "base/text.h"
#include "platform/reset.h"
#include "tools/handheld/commands.h"

namespace handheld {

void AddResetCommand(CLI::App& app) {
  struct Options {
    std::string dir;
    bool hard = false;
  };
  auto opts = std::make_shared<Options>();
  CLI::App* cmd = app.add_subcommand(
      "reset",
      "Reset the device and run its start-up program \\Windows\\VELMauto.exe (waited for).\n"
      "--hard also restores the factory registry; the files under fs/ survive either way.");
  cmd->add_option("DIR", opts->dir, "The device")->required();
  cmd->add_flag("--hard", opts->hard, "Hard reset: the registry goes back to the factory state");
  cmd->callback([opts] {
    auto device = OpenDevice(opts->dir);
    platform::ResetResult r = platform::ResetDevice(opts->hard, /*wait=*/true);
    if (r.error != platform::kErrorSuccess) throw CommandError("reset failed: " + r.message);
    std::cout << (opts->hard ? "hard reset: registry restored to the factory state\n"
                             : "soft reset\n");
    const std::string program = platform::ToUtf8(platform::kStartupProgram);
    if (!r.startupFound) {
      std::cout << "no start-up program " << program << "\n";
    } else {
      std::cout << "ran " << program << " (exit code " << r.startupExitCode.value_or(-1) << ")\n";
    }
  });
}

}  // namespace handheld
