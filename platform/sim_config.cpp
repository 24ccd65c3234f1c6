#include "platform/sim_config.h"

#include <cstdio>

#include "platform/host_ini.h"

namespace platform {

std::optional<uint32_t> SimConfig::ParseStatus(const std::string& text) {
  if (text == "ready") return kReady;
  if (text.size() == 10 && (text.rfind("0x", 0) == 0 || text.rfind("0X", 0) == 0) &&
      text.find_first_not_of("0123456789abcdefABCDEF", 2) == std::string::npos)
    return static_cast<uint32_t>(std::stoul(text.substr(2), nullptr, 16));
  return std::nullopt;
}

std::string SimConfig::FormatStatus(uint32_t status) {
  if (status == kReady) return "ready";
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%08X", status);
  return buf;
}

std::optional<SimConfig> SimConfig::Load(const std::filesystem::path& path, std::string* why) {
  HostIni::Error err;
  auto ini = HostIni::Load(path, &err);
  if (!ini) {
    if (why) *why = err.line ? "sim.ini:" + std::to_string(err.line) + ": " + err.message : err.message;
    return std::nullopt;
  }
  SimConfig sim;
  auto status = ParseStatus(ini->GetOr("SIM", "Status", "ready"));
  if (!status) {
    if (why) *why = "sim.ini: Status must be \"ready\" or 0xHHHHHHHH";
    return std::nullopt;
  }
  sim.status = *status;
  sim.imsi = ini->GetOr("SIM", "IMSI", "");
  if (sim.imsi.size() > kMaxImsiLength) {
    if (why) *why = "sim.ini: IMSI longer than " + std::to_string(kMaxImsiLength) + " characters";
    return std::nullopt;
  }
  return sim;
}

bool SimConfig::Save(const std::filesystem::path& path) const {
  HostIni ini;
  ini.Set("SIM", "Status", FormatStatus(status));
  ini.Set("SIM", "IMSI", imsi);
  return ini.Save(path);
}

}  // namespace platform
