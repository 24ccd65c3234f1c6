// "Yvrautil.dll", the device utility library of the handheld's maker: it
// tells whether the handheld has a camera, as the device's device.ini says
// ("Camera": yes, no, or unknown).
//
//   int YvraGetCameraPresent(uint32_t* present)
//     Stores 1 (camera) or 0 (none) and returns 1; returns 0, storing
//     nothing, when the device does not know (Camera=unknown) or present is
//     null.

#include <cstdint>

#include "platform/device.h"

#define YVRAUTIL_EXPORT extern "C" __attribute__((visibility("default")))

YVRAUTIL_EXPORT int YvraGetCameraPresent(uint32_t* present) {
  if (present == nullptr) return 0;
  switch (platform::CurrentDevice().Config().camera) {
    case platform::CameraState::Present: *present = 1; return 1;
    case platform::CameraState::Absent: *present = 0; return 1;
    case platform::CameraState::Unknown: return 0;
  }
  return 0;
}
