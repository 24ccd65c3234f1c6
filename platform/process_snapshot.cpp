#include "platform/process_snapshot.h"

#include "platform/device.h"

namespace platform {

namespace {

// Ids as the handheld hands them out: not small, not 0.
constexpr uint32_t kFirstProcessId = 0x0A000002;
constexpr uint32_t kProcessIdStep = 0x00100000;

}  // namespace

ErrorCode ProcessSnapshot::Take() {
  processes_.clear();
  Device& device = CurrentDevice();
  if (!device.HasRoot()) return kErrorPathNotFound;
  const DeviceConfig& config = device.Config();
  if (device.ConfigError()) return kErrorBadDb;
  uint32_t id = kFirstProcessId;
  for (const std::string& name : config.runningProcesses) {
    processes_.push_back({FromUtf8(name), id});
    id += kProcessIdStep;
  }
  return kErrorSuccess;
}

}  // namespace platform
