#pragma once
// Turns one connection record into a working connection on the device, by
// one of two routes:
//
//   - when the configuration manager takes documents (ProvisioningAvailable)
//     a provisioning document describes the connection;
//   - otherwise the writer makes the phonebook entry itself (properties, the
//     device configuration block patched with the dial settings, the dial
//     user name and password) and, on a Pocket PC, the connection-manager
//     keys of the connection's network.
//
// A record whose texts do not fit the phonebook's fields (an entry name of
// more than 20 characters, a phone number of more than 128, ...) is
// refused on both routes before anything is written: a text cut to fit
// could name another connection or dial a wrong number. lastRasError then
// says why: kErrorInvalidName for the name, kErrorInvalidParameter for the
// others.

#include <optional>
#include <vector>

#include "applet/connections/dial_settings.h"
#include "applet/connections/ras_param.h"
#include "applet/connections/ras_session.h"
#include "base/errors.h"
#include "base/text.h"
#include "platform/ras.h"

namespace applet {

class ConnectionWriter {
 public:
  // The platform's sizes of the structures the writer fills.
  static constexpr uint32_t kEntrySize = sizeof(platform::RasEntry);
  static constexpr uint32_t kDialParamsSize = sizeof(platform::RasDialParams);
  // A default entry's block is read into a buffer of this size.
  static constexpr uint32_t kDefaultBlockBuffer = 256;

  ConnectionWriter() = default;
  // Works on a copy of the record (the copy assignment of CRASparam).
  explicit ConnectionWriter(const CRASparam& record);
  ConnectionWriter(const ConnectionWriter&) = delete;
  ConnectionWriter& operator=(const ConnectionWriter&) = delete;

  // Writes the connection into the network networkId; folder holds
  // "GPRSmodems.inf" and "ModemsCE.ini". With a network name the network is
  // registered in the connection manager too. A connection whose enabled is
  // set becomes the active one of its network.
  bool WriteConnection(platform::WStringView folder, const platform::WString* networkName,
                       platform::WStringView networkId);
  // Removes the phonebook entry and, on a Pocket PC, its connection key.
  bool DeleteConnection(platform::WStringView entryName);

  platform::ErrorCode LastRasError() const { return lastRasError_; }
  // The working copy (the dial settings may have set its dialStringFits,
  // and a GPRS record's phoneNumber is the modem's dial number after a
  // phonebook write).
  const CRASparam& Record() const { return record_; }
  const DialSettings& Dial() const { return dialSettings_; }
  // For tests: the RAS functions the writer calls.
  RasSession& Session() { return session_; }

 private:
  bool FitsPhonebook();
  bool SetEntryProperties(platform::WStringView folder, platform::WStringView deviceName);
  bool SetDeviceConfig(platform::WStringView entryName);
  bool GetDeviceConfig(platform::WStringView name);
  bool ReadDefaultDeviceConfig(platform::WStringView name);
  bool SetDialParams();

  CRASparam record_;
  DialSettings dialSettings_;
  platform::ErrorCode lastRasError_ = platform::kErrorSuccess;
  platform::RasEntry entry_{};
  std::optional<std::vector<uint8_t>> deviceConfig_;
  platform::RasDialParams dialParams_{};
  RasSession session_;
};

}  // namespace applet
