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

// IdentifyDevice results; the numbers are the codes the log shows.
enum class IdentifyResult : int {
  Identified = 0,       // also when the block size query failed
  ConnectFailed = 1,    // or a command could not be written
  NoAck = 2,
  ErrorCodeMissing = 3,
  DeviceError = 4,
  NoData = 5,
  TextTimeout = 6,
  InvalidDevice = 7,
  HardwareTextTimeout = 8,
  NoCameraData = 9,
  CameraTextTimeout = 10,
  NoModelData = 11,
  ModelTextTimeout = 12,
  NoQupAck = 13,
};

enum class ReleaseResult { Released, Timeout };
// Warm reset and repartitioning: Failed leaves progress negative.
enum class ExchangeResult { Done, Failed };

inline constexpr char kSupportedModelNumber[] = "4170";
inline constexpr uint32_t kWarmResetPauseMs = 5000;
// Block sizes beyond this are not believed: no device asks for buffers of
// this size, and the driver reserves one block of memory.
inline constexpr uint32_t kMaxBlockSize = 16u * 1024 * 1024;
inline constexpr int kDataMarkerReads = 15;

// Talks to the device the first time in a load; later calls answer with
// that first result, so a device that failed its identification never
// counts as identified in this load.
IdentifyResult IdentifyDevice();
// The release exchange of Client_Shutdown; the port is closed once
// released.
ReleaseResult ReleaseDevice();
void AbortSession();
// Failed when "?xrs" goes unanswered.
ExchangeResult WarmReset();
// Done when the device reformatted and the warm reset after it was done.
ExchangeResult Repartition();

}  // namespace drkclient
