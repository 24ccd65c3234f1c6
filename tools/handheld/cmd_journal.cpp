#include <iostream>

#include "platform/journal.h"
#include "tools/handheld/commands.h"

namespace handheld {

void AddJournalCommand(CLI::App& app) {
  auto dir = std::make_shared<std::string>();
  CLI::App* cmd = app.add_subcommand(
      "journal",
      "Print the device's journal: documents handed to the configuration manager, processes\n"
      "started, broadcasts, beeps, HAL control codes and events, one numbered line each");
  cmd->add_option("DIR", *dir, "The device")->required();
  cmd->callback([dir] {
    auto device = OpenDevice(*dir);
    for (const auto& line : device->Get().Journal().Lines()) std::cout << line << "\n";
  });
}

}  // namespace handheld
