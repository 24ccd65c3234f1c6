#include "applet/connections/dial_settings.h"

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

bool DialSettings::Patch(std::span<uint8_t> block) const {
  const platform::DeviceConfigLayout layout{timeoutOffset,  optionsOffset, speedOffset,
                                            byteSizeOffset, stopBitsOffset, parityOffset,
                                            commandOffset,  commandCapacity, block.size()};
  platform::DeviceConfigSettings settings;
  settings.dteSpeed = static_cast<uint32_t>(BlockSpeed(dteSpeed));
  // The block holds one byte of each; their low bytes are written.
  settings.modemOptions = static_cast<uint8_t>(modemOptions);
  settings.byteSize = static_cast<uint8_t>(byteSize);
  settings.parity = static_cast<uint8_t>(parity);
  settings.stopBits = static_cast<uint8_t>(stopBits);
  settings.setupTimeout = static_cast<uint8_t>(setupTimeout);
  settings.command = commandString;
  return platform::PatchDeviceConfig(layout, settings, block);
}

}  // namespace applet
