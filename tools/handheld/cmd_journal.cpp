#include <cstdlib>
#include <iostream>

#include "platform/journal.h"
#include "tools/handheld/commands.h"

namespace handheld {

void AddJournalCommand(CLI::App& app) {
  struct Options {
    std::string dir;
    unsigned long since = 0;
  };
  auto opts = std::make_shared<Options>();
  CLI::App* cmd = app.add_subcommand(
      "journal",
      "Print the device's journal: documents handed to the configuration manager, processes\n"
      "started, broadcasts, beeps, message boxes, HAL control codes and events, one numbered\n"
      "line each");
  cmd->add_option("DIR", opts->dir, "The device")->required();
  cmd->add_option("--since", opts->since, "Print only the lines numbered N and later");
  cmd->callback([opts] {
    auto device = OpenDevice(opts->dir);
    for (const auto& line : device->Get().Journal().Lines())
      if (std::strtoul(line.c_str(), nullptr, 10) >= opts->since) std::cout << line << "\n";
  });
}

}  // namespace handheld
