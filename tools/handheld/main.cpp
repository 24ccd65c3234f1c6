// handheld: the command line for emulated devices.

#include <iostream>

#include "tools/handheld/commands.h"
#include "tools/handheld/device_layout.h"

namespace handheld {

std::unique_ptr<platform::ScopedDevice> OpenDevice(const std::filesystem::path& dir) {
  if (!IsDeviceRoot(dir))
    throw CommandError(dir.string() + " is not an emulated device (lay one out with: handheld init " +
                       dir.string() + ")");
  return std::make_unique<platform::ScopedDevice>(std::filesystem::absolute(dir));
}

}  // namespace handheld

int main(int argc, char** argv) {
  CLI::App app{
      "handheld: lays out and drives emulated Pocket PC phones.\n"
      "A device is a folder: fs/ (its file system), registry.reg, device.ini, sim.ini,\n"
      "journal.log. Programs run on a device find it through VELM_DEVICE_ROOT."};
  app.require_subcommand(1);
  app.fallthrough(false);
  handheld::AddInitCommand(app);
  handheld::AddRegCommand(app);
  handheld::AddJournalCommand(app);
  handheld::AddSimCommand(app);
  handheld::AddResetCommand(app);
  handheld::AddOperatorsCommand(app);
  handheld::AddAnswerCommand(app);
  handheld::AddRunCommand(app);
  handheld::AddConnectionsCommand(app);
  handheld::AddProvisioningCommand(app);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e);
  } catch (const handheld::CommandError& e) {
    std::cerr << "handheld: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
