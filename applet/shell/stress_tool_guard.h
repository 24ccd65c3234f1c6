#pragma once
// The applet stays idle while the platform's user-interface stress-test tool
// runs: "hopper.exe" on Windows CE above 4.0, "spider.exe" before. The tool
// is looked for in the process list (each name lowered, then compared whole
// and exactly); when no list can be had, twice, 20 ms apart, the tool counts
// as running when its registry key "SOFTWARE\Microsoft\Hopper" exists.

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "base/text.h"
#include "platform/system_info.h"

namespace applet {

inline constexpr char16_t kHopperProcess[] = u"hopper.exe";
inline constexpr char16_t kSpiderProcess[] = u"spider.exe";
inline constexpr char16_t kHopperKey[] = u"SOFTWARE\\Microsoft\\Hopper";
inline constexpr uint32_t kSnapshotRetryDelayMs = 20;

// The executable names of the running processes, or nullopt when the list
// cannot be taken.
using ProcessList = std::function<std::optional<std::vector<platform::WString>>()>;

// The process list of the platform (platform/process_snapshot.h).
std::optional<std::vector<platform::WString>> PlatformProcessList();

// The name of the tool on a platform of that version.
platform::WString StressToolName(const platform::OsVersion& version);

bool StressToolRuns(const ProcessList& processes = PlatformProcessList);

}  // namespace applet
