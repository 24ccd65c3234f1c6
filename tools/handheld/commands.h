#pragma once
// The subcommands of the handheld program. Each Add function registers one
// subcommand with its options and its action.

#include <CLI/CLI.hpp>

#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "platform/device.h"

namespace handheld {

// A failure to report to the user: printed as "handheld: message", exit 1.
struct CommandError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Makes the device in dir current; fails when dir is not a device.
std::unique_ptr<platform::ScopedDevice> OpenDevice(const std::filesystem::path& dir);

void AddInitCommand(CLI::App& app);
void AddRegCommand(CLI::App& app);
void AddJournalCommand(CLI::App& app);
void AddSimCommand(CLI::App& app);
void AddResetCommand(CLI::App& app);
void AddOperatorsCommand(CLI::App& app);
void AddAnswerCommand(CLI::App& app);
void AddRunCommand(CLI::App& app);
void AddConnectionsCommand(CLI::App& app);
void AddProvisioningCommand(CLI::App& app);
// The import subcommand of operators; onDevice runs an action with the
// device that operators names made current.
void AddOperatorsImportCommand(CLI::App& operators,
                               const std::function<void(const std::function<void()>&)>& onDevice);

}  // namespace handheld
