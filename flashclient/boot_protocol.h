#pragma once
// The boot loader's command exchanges: the one-time identification of the
// device, its release, the abort after a failed identification, the warm
// reset with reconnection, and the repartitioning of its flash.
//
// Commands and answers:
//   "?gid"  '&' '*' text   model number ("4170")
//   "?qos"  '&' '*' text   OS version (8 characters), a separator, language
//   "?ghw"  '*' text x3    hardware, camera and model texts (no '&')
//   "?qup"  '&' '*' text   read, then replaced by the "?qgs" text
//   "?qgs"  '&' '*' text   radio module text
//   "?qbz"  '&' '*' 4 bytes  block size, little-endian
//   "?xcb", "?c"   '&' or 'x'   release
//   "?xrs"  '&' or 'x'     prepare the restart;  "?w" restart
//   "?dft"  '&' or 'x' code; then "?f", '?' and the partition record,
//           answered '&' (done) or 'x' and one byte, after the reformat
// An 'x' answer is followed by an error code byte.

#include <cstdint>

namespace drkclient {

// IdentifyDevice results.
enum IdentifyResult : int {
  kIdentified = 0,
  kIdentifyConnectFailed = 1,  // or a command could not be written
  kIdentifyNoAck = 2,
  kIdentifyErrorCodeMissing = 3,
  kIdentifyDeviceError = 4,
  kIdentifyNoData = 5,
  kIdentifyTextTimeout = 6,
  kIdentifyInvalidDevice = 7,
  kIdentifyHardwareTextTimeout = 8,
  kIdentifyNoCameraData = 9,
  kIdentifyCameraTextTimeout = 10,
  kIdentifyNoModelData = 11,
  kIdentifyModelTextTimeout = 12,
  kIdentifyNoQupAck = 13,
};

inline constexpr char kSupportedModelNumber[] = "4170";
inline constexpr uint32_t kWarmResetPauseMs = 5000;
// Block sizes beyond this are not believed: no device asks for buffers of
// this size, and the driver reserves one block of memory.
inline constexpr uint32_t kMaxBlockSize = 16u * 1024 * 1024;
inline constexpr int kDataMarkerReads = 15;

inline constexpr int kReleaseTimeout = 202;

int IdentifyDevice();
// The release exchange of Client_Shutdown: 0 released (port closed), 202
// timeout.
int ReleaseDevice();
void AbortSession();
// 1 done, 0 no answer to "?xrs".
int WarmReset();
// Nonzero done (WarmReset's result), 0 failed.
int Repartition();

}  // namespace drkclient
