// handheld connections: what the device holds of the connections, and an
// operator database entry tried on it.

#include <iostream>

#include "applet/connections/operator_keys.h"
#include "platform/provisioning_record.h"
#include "tools/handheld/applet_environment.h"
#include "tools/handheld/commands.h"
#include "tools/handheld/connection_report.h"
#include "tools/handheld/operator_connection.h"

namespace handheld {

namespace {

std::string KindList() {
  std::string names;
  for (const auto& keys : applet::operator_keys::AllKindKeys())
    names += (names.empty() ? "" : "|") + platform::ToUtf8(keys.connectionName);
  return names;
}

void WriteConnection(const OperatorConnectionOptions& options, const std::string& kindName) {
  AppletEnvironment env;
  if (!env.HasResources())
    std::cerr << "handheld: warning: no usable resource library in "
              << platform::ToUtf8(env.Folders().installed) << "\n";
  const OperatorConnectionResult r = WriteOperatorConnection(env, options);
  if (!r.written) throw CommandError(r.message);
  std::cout << "wrote \"" << r.entryName << "\" (" << kindName << " of " << options.operatorName
            << ") into the network " << platform::ToUtf8(kTrialNetworkName) << " ";
  if (r.byDocument) {
    const auto numbers = platform::ListProvisioningDocuments();
    std::cout << "through a provisioning document"
              << (numbers.empty() ? "" : " (" + platform::ProvisioningFileName(numbers.back()) + ")")
              << "\n";
  } else {
    std::cout << "as a phonebook entry with its connection-manager keys\n";
  }
}

}  // namespace

void AddConnectionsCommand(CLI::App& app) {
  struct Options {
    std::string dir;
    OperatorConnectionOptions write;
    std::string kind = "GPRS";
  };
  auto opts = std::make_shared<Options>();
  CLI::App* cmd = app.add_subcommand(
      "connections",
      "Show the connections the device holds: phonebook entries (number, device, address\n"
      "choices, user name, modem commands and speed), the connection manager's networks,\n"
      "connections and proxies, and the messaging accounts");
  cmd->add_option("DIR", opts->dir, "The device")->required();
  cmd->require_subcommand(0, 1);

  CLI::App* write = cmd->add_subcommand(
      "write",
      "Fill a record from the operator database for one kind of connection and write it\n"
      "with the applet's connection writer into the Internet network: as a provisioning\n"
      "document when the device has \\Windows\\cprog.exe, else as a phonebook entry");
  write->add_option("OPERATOR", opts->write.operatorName, "The operator's section name")->required();
  write->add_option("--kind", opts->kind, "Kind of connection: " + KindList() + " (default GPRS)");
  write->add_option("--name", opts->write.entryName,
                    "Name of the connection (default: the database's name for the kind)");
  write->add_option("--modem", opts->write.modemName,
                    "Modem of ModemsCE.ini (default: the phone's own modem, which uses the\n"
                    "\"Default\" commands of GPRSmodems.inf)");
  write->add_option("--device", opts->write.deviceName, "RAS device (default: Cellular Line)");

  cmd->callback([opts, write] {
    auto device = OpenDevice(opts->dir);
    if (*write) {
      auto kind = KindFromName(opts->kind);
      if (!kind) throw CommandError("unknown kind \"" + opts->kind + "\" (one of " + KindList() + ")");
      opts->write.kind = *kind;
      WriteConnection(opts->write, opts->kind);
      return;
    }
    std::cout << ConnectionReport();
  });
}

}  // namespace handheld
