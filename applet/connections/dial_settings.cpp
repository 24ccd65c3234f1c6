#include "applet/connections/dial_settings.h"

#include <algorithm>
#include <initializer_list>

#include "applet/connections/gprs_modem_commands.h"
#include "applet/connections/operator_database.h"
#include "applet/connections/provisioning_writer.h"
#include "applet/device/modem_database.h"
#include "platform/ras_device_config.h"

namespace applet {

using platform::WString;
using platform::WStringView;

namespace {

// The speed field is three bytes wide.
constexpr size_t kSpeedBytes = 3;

// The speeds the block knows; every other one is written as 19200.
int32_t BlockSpeed(int32_t speed) {
  for (int32_t known : {9600, 38400, 57600, 115200})
    if (speed == known) return speed;
  return DialSettings::kFallbackSpeed;
}

}  // namespace

DialSettings::DialSettings() {
  const platform::DeviceConfigLayout& layout =
      IsPocketPc() ? platform::kPocketPcDeviceConfig : platform::kOtherDeviceConfig;
  speedOffset = layout.speedOffset;
  optionsOffset = layout.optionsOffset;
  byteSizeOffset = layout.byteSizeOffset;
  parityOffset = layout.parityOffset;
  stopBitsOffset = layout.stopBitsOffset;
  commandOffset = layout.commandOffset;
  commandCapacity = layout.commandCapacity;
  timeoutOffset = layout.timeoutOffset;
}

bool DialSettings::Build(WStringView folder, CRASparam& record) {
  commandString.clear();
  if (record.modemName.empty()) return false;
  ModemDatabase modems;
  modems.Select(folder, record.modemName, 1);
  dteSpeed = modems.DteSpeed(DteUse::DialUpNetworking);
  modemOptions = kModemOptions;

  WString command;
  if (record.IsGprsFamily()) {
    apn = record.apn;
    GprsModemCommands templates;
    templates.BuildPlaceholders(folder, record);
    command = templates.ExtraDialString();
    if (command.empty() || record.HasQos()) return true;
    command = templates.ApplyPlaceholders(command);
  } else {
    OperatorDatabase operators;
    operators.Open(folder, record.operatorName);
    operators.ModemCommand(record.bearer, command);
  }
  const bool fits = command.size() < commandCapacity;
  if (fits) commandString = command;
  record.dialStringFits = fits ? 1 : 0;
  return true;
}

size_t DialSettings::PatchedSize() const {
  size_t end = std::max(speedOffset + kSpeedBytes,
                        commandOffset + 2 * std::min(commandString.size() + 1, commandCapacity));
  for (size_t one : {optionsOffset, byteSizeOffset, parityOffset, stopBitsOffset, timeoutOffset})
    end = std::max(end, one + 1);
  return end;
}

bool DialSettings::Patch(std::span<uint8_t> block) const {
  if (block.size() < PatchedSize()) return false;
  const auto speed = static_cast<uint32_t>(BlockSpeed(dteSpeed));
  for (size_t i = 0; i < kSpeedBytes; ++i)
    block[speedOffset + i] = static_cast<uint8_t>(speed >> (8 * i));
  block[optionsOffset] = static_cast<uint8_t>(modemOptions);
  block[byteSizeOffset] = static_cast<uint8_t>(byteSize);
  block[parityOffset] = static_cast<uint8_t>(parity);
  block[stopBitsOffset] = static_cast<uint8_t>(stopBits);
  block[timeoutOffset] = static_cast<uint8_t>(setupTimeout);
  for (size_t i = 0; i < commandCapacity; ++i) {
    const char16_t c = i < commandString.size() ? commandString[i] : u'\0';
    block[commandOffset + 2 * i] = static_cast<uint8_t>(c & 0xFF);
    block[commandOffset + 2 * i + 1] = static_cast<uint8_t>(c >> 8);
    if (c == 0) break;
  }
  return true;
}

}  // namespace applet
