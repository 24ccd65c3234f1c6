#include "platform/system_info.h"

#include <algorithm>

#include "platform/device.h"

namespace platform {

OsVersion GetOsVersion() {
  const DeviceConfig& config = CurrentDevice().Config();
  return {config.osMajorVersion, config.osMinorVersion};
}

ErrorCode GetPlatformType(char16_t* buffer, size_t capacity) {
  if (buffer == nullptr) return kErrorInvalidParameter;
  const WString type = FromUtf8(CurrentDevice().Config().platformType);
  if (type.size() + 1 > capacity) return kErrorInsufficientBuffer;
  std::copy(type.begin(), type.end(), buffer);
  buffer[type.size()] = 0;
  return kErrorSuccess;
}

}  // namespace platform
