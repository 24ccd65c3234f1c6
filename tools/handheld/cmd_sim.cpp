#include <iostream>

#include "platform/sim_config.h"
#include "tools/handheld/commands.h"

namespace handheld {

namespace {

// An IMSI has at most 15 digits: country code, network code, subscriber.
constexpr size_t kMaxImsiDigits = 15;

}  // namespace

void AddSimCommand(CLI::App& app) {
  struct Options {
    std::string dir;
    std::string imsi;
    std::string status;
  };
  auto opts = std::make_shared<Options>();
  CLI::App* cmd = app.add_subcommand(
      "sim", "Show or set the device's SIM card (without options: show it)");
  cmd->add_option("DIR", opts->dir, "The device")->required();
  cmd->add_option("--imsi", opts->imsi, "Subscriber identity: up to 15 digits");
  cmd->add_option("--status", opts->status,
                  "SIM status: ready, or a status word 0xHHHHHHHH (for example 0xFF000003)");
  cmd->callback([opts] {
    auto device = OpenDevice(opts->dir);
    std::string why;
    auto sim = platform::SimConfig::Load(device->Get().SimPath(), &why);
    if (!sim) sim = platform::SimConfig{};
    bool changed = false;
    if (!opts->imsi.empty()) {
      if (opts->imsi.size() > kMaxImsiDigits ||
          opts->imsi.find_first_not_of("0123456789") != std::string::npos)
        throw CommandError("--imsi takes up to 15 digits, not \"" + opts->imsi + "\"");
      sim->imsi = opts->imsi;
      changed = true;
    }
    if (!opts->status.empty()) {
      auto status = platform::SimConfig::ParseStatus(opts->status);
      if (!status)
        throw CommandError("--status takes ready or 0xHHHHHHHH, not \"" + opts->status + "\"");
      sim->status = *status;
      changed = true;
    }
    if (changed && !sim->Save(device->Get().SimPath()))
      throw CommandError("cannot write " + device->Get().SimPath().string());
    std::cout << "status " << platform::SimConfig::FormatStatus(sim->status) << ", IMSI "
              << (sim->imsi.empty() ? "(none)" : sim->imsi) << "\n";
  });
}

}  // namespace handheld
