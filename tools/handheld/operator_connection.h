#pragma once
// Trying an operator database entry on a device: the record the applet
// would make for one kind of connection of the operator, written with the
// applet's connection writer into the Internet network, by whichever route
// the device takes.

#include <cstdint>
#include <optional>
#include <string>

#include "applet/connections/connection_kinds.h"
#include "base/errors.h"
#include "tools/handheld/applet_environment.h"

namespace handheld {

// The network the connection is written into and the name it is registered
// under on the phonebook route.
inline constexpr char16_t kTrialNetworkName[] = u"Internet";
// The RAS device of a connection written without --device.
inline constexpr char16_t kCellularDevice[] = u"Cellular Line";

struct OperatorConnectionOptions {
  std::string operatorName;
  applet::BearerType kind = applet::BearerType::Gprs;
  std::string entryName;   // empty: the database's name for the kind
  std::string modemName;   // empty: the applet's default modem
  std::string deviceName;  // empty: kCellularDevice
};

struct OperatorConnectionResult {
  bool written = false;
  bool byDocument = false;        // the provisioning route was taken
  std::string entryName;
  platform::ErrorCode rasError = 0;
  std::string message;            // why nothing was written
};

// The kind named by a "Network" token of the operator database (GPRS, CSD,
// 1XRTT, CDMA, WAPGPRS, ...), letter case ignored.
std::optional<applet::BearerType> KindFromName(const std::string& name);

OperatorConnectionResult WriteOperatorConnection(const AppletEnvironment& env,
                                                 const OperatorConnectionOptions& options);

}  // namespace handheld
