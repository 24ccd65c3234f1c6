#pragma once
// The device configuration block of a phonebook entry ("DevCfg"): the line
// settings and the modem command string the dialler hands to the modem
// driver. Numbers are little-endian. The Pocket PC layout:
//
//   offset size
//    0     4    size of the block in bytes (128)
//    4     4    call set-up timeout, seconds
//    8     4    modem option bits
//   12     4    DTE speed, bits per second (the driver reads three bytes)
//   16     2    reserved
//   18     1    data bits
//   19     1    stop-bit code
//   20     1    parity code
//   21     1    reserved
//   22    78    modem command string: 39 UTF-16 characters with the
//               terminator
//  100    28    reserved
//
// Other platforms put a 24-byte header before the same settings: timeout at
// 28, options 32, speed 36, data bits 42, parity 43, stop bits 44, and a
// command string of 38 characters at 46. Both blocks are 128 bytes.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "base/text.h"

namespace platform {

struct DeviceConfigLayout {
  size_t timeoutOffset;
  size_t optionsOffset;
  size_t speedOffset;
  size_t byteSizeOffset;
  size_t stopBitsOffset;
  size_t parityOffset;
  size_t commandOffset;
  size_t commandCapacity;  // UTF-16 characters, terminator included
  size_t blockSize;
};

inline constexpr DeviceConfigLayout kPocketPcDeviceConfig{4, 8, 12, 18, 19, 20, 22, 39, 128};
inline constexpr DeviceConfigLayout kOtherDeviceConfig{28, 32, 36, 42, 44, 43, 46, 38, 128};

// The layout of a platform type as device.ini names it ("PocketPC" or any
// other).
const DeviceConfigLayout& DeviceConfigLayoutFor(std::string_view platformType);

struct DeviceConfigSettings {
  uint32_t dteSpeed = 19200;
  uint8_t modemOptions = 0;
  uint8_t byteSize = 8;
  uint8_t parity = 0;
  uint8_t stopBits = 0;
  uint8_t setupTimeout = 60;
  WString command;  // at most commandCapacity - 1 characters
};

// Writes the settings into a block at the layout's offsets: the speed's low
// three bytes, one byte each for the others, and the command string with its
// terminator (cut at the capacity, without a terminator, when it is as long
// as that). Bytes outside these fields stay as they are. False, with the
// block untouched, when the block ends before what is written.
bool PatchDeviceConfig(const DeviceConfigLayout& layout, const DeviceConfigSettings& settings,
                       std::span<uint8_t> block);

// A block of the layout holding the settings, its size in its first four
// bytes; empty when the command string does not fit.
std::vector<uint8_t> BuildDeviceConfig(const DeviceConfigLayout& layout,
                                       const DeviceConfigSettings& settings);

// Reads a block back; nullopt when it is shorter than the layout's
// settings. A command string without its terminator ends at the capacity.
std::optional<DeviceConfigSettings> DecodeDeviceConfig(const DeviceConfigLayout& layout,
                                                       std::span<const uint8_t> block);

}  // namespace platform
