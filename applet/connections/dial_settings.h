#pragma once
// The line settings and modem command string of one connection written as a
// phonebook entry, and their place in the entry's device configuration
// block. The offsets are the platform's (platform/ras_device_config.h):
// those of a Pocket PC, or of other platforms, chosen once when the
// settings are made.

#include <cstddef>
#include <cstdint>
#include <span>

#include "applet/connections/ras_param.h"
#include "base/text.h"

namespace applet {

class DialSettings {
 public:
  // The speed every speed but the four the block knows is written as.
  static constexpr int32_t kFallbackSpeed = 19200;
  static constexpr int32_t kModemOptions = 16;

  DialSettings();

  // Computes the settings for the record from the modem database and, for
  // the GPRS kinds, "GPRSmodems.inf" in folder (for the other kinds, the
  // operator database's modem command of the record's kind). Sets the
  // record's dialStringFits when a command string was built: 1 when it fits
  // in the block, else 0 (the block then gets no command string). A GPRS
  // record with a QoS profile gets no command string and keeps its
  // dialStringFits. False only when the record names no modem.
  bool Build(platform::WStringView folder, CRASparam& record);

  // Writes the settings into a device configuration block: the speed (one
  // of 9600, 38400, 57600 and 115200, any other as 19200), the low byte of
  // each number, and the command string up to its terminator. False, with
  // the block untouched, when the block is shorter than what is written.
  bool Patch(std::span<uint8_t> block) const;

  int32_t dteSpeed = kFallbackSpeed;
  int32_t modemOptions = kModemOptions;
  int32_t byteSize = 8;
  int32_t parity = 0;
  int32_t stopBits = 0;
  platform::WString commandString;
  platform::WString apn;
  int32_t setupTimeout = 60;
  size_t speedOffset;
  size_t optionsOffset;
  size_t byteSizeOffset;
  size_t parityOffset;
  size_t stopBitsOffset;
  size_t commandOffset;
  size_t commandCapacity;  // UTF-16 characters, terminator included
  size_t timeoutOffset;
};

}  // namespace applet
