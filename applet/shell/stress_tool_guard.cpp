#include "applet/shell/stress_tool_guard.h"

#include "base/clock.h"
#include "platform/process_snapshot.h"
#include "platform/registry.h"

namespace applet {

using platform::WString;

std::optional<std::vector<WString>> PlatformProcessList() {
  platform::ProcessSnapshot snapshot;
  if (snapshot.Take() != platform::kErrorSuccess) return std::nullopt;
  std::vector<WString> names;
  for (const platform::ProcessEntry& entry : snapshot.Processes()) names.push_back(entry.exeFile);
  return names;
}

WString StressToolName(const platform::OsVersion& version) {
  const bool above40 = version.major > 4 || (version.major == 4 && version.minor > 0);
  return version.platformId == platform::kPlatformWinCe && above40 ? kHopperProcess : kSpiderProcess;
}

bool StressToolRuns(const ProcessList& processes) {
  const WString tool = StressToolName(platform::GetOsVersion());
  auto names = processes();
  if (!names) {
    platform::Sleep(kSnapshotRetryDelayMs);
    names = processes();
  }
  if (!names) {
    platform::RegistryKey key;
    return key.Open(platform::Hive::LocalMachine, kHopperKey) == platform::kErrorSuccess;
  }
  for (const WString& name : *names)
    if (platform::ToLower(name) == tool) return true;
  return false;
}

}  // namespace applet
