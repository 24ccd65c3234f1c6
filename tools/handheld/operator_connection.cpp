#include "tools/handheld/operator_connection.h"

#include "applet/connections/connection_writer.h"
#include "applet/connections/gprs_modem_commands.h"
#include "applet/connections/network_ids.h"
#include "applet/connections/operator_database.h"
#include "applet/connections/operator_keys.h"
#include "applet/connections/provisioning_writer.h"

namespace handheld {

using platform::WString;

std::optional<applet::BearerType> KindFromName(const std::string& name) {
  auto bit = applet::operator_keys::NetworkTokenBit(platform::ToUpper(platform::FromUtf8(name)));
  if (!bit) return std::nullopt;
  return static_cast<applet::BearerType>(*bit);
}

namespace {

std::string FailureText(const applet::CRASparam& record, const OperatorConnectionResult& r) {
  switch (r.rasError) {
    case platform::kErrorInvalidName:
      return "the phonebook cannot hold a connection named \"" + r.entryName +
             "\" (1 to 20 characters, no backslash); give another with --name";
    case platform::kErrorInvalidParameter:
      return "a text of the record (phone number, user name, password, area code or device) is "
             "longer than the phonebook holds";
    case platform::kErrorInsufficientBuffer:
      return "the device configuration block is too short for the dial settings";
    case platform::kErrorSuccess:
      return record.modemName.empty()
                 ? "the record names no modem"
                 : "no device configuration block: neither the entry nor a default phonebook "
                   "entry has one";
  }
  return "the writer failed (RAS error " + std::to_string(r.rasError) + ")";
}

}  // namespace

OperatorConnectionResult WriteOperatorConnection(const AppletEnvironment& env,
                                                 const OperatorConnectionOptions& options) {
  OperatorConnectionResult result;
  const WString folder = env.DatabaseFolder(applet::OperatorDatabase::kFileName);
  applet::OperatorDatabase db;
  if (!db.Open(folder, u"")) {
    result.message = "cannot open " + platform::ToUtf8(folder) +
                     platform::ToUtf8(applet::OperatorDatabase::kFileName);
    return result;
  }
  const WString section = platform::FromUtf8(options.operatorName);
  const int32_t networks = db.NetworksOf(section);
  if (networks == 0) {
    result.message = "no operator \"" + options.operatorName + "\" with connections in the database";
    return result;
  }
  db.SelectOperator(section);
  if ((networks & applet::BearerBit(options.kind)) == 0) {
    result.message = "\"" + options.operatorName + "\" does not offer that kind of connection";
    return result;
  }

  applet::CRASparam record;
  record.operatorName = section;
  record.bearer = options.kind;
  db.FillRecord(nullptr, record);
  int32_t code = 0;
  db.CountryOf(section, record.countryName, code);
  if (options.entryName.empty())
    db.ConnectionName(options.kind, record.entryName);
  else
    record.entryName = platform::FromUtf8(options.entryName);
  record.modemName = options.modemName.empty()
                         ? env.Text(applet::GprsModemCommands::kDefaultModemString).value_or(u"")
                         : platform::FromUtf8(options.modemName);
  record.deviceName = options.deviceName.empty() ? WString(kCellularDevice)
                                                 : platform::FromUtf8(options.deviceName);
  record.enabled = 1;

  result.byDocument = applet::ProvisioningAvailable();
  result.entryName = platform::ToUtf8(record.entryName);
  applet::ConnectionWriter writer(record);
  const WString network = kTrialNetworkName;
  result.written = writer.WriteConnection(env.Folders().installed, &network,
                                          applet::network_ids::kInternet);
  result.rasError = writer.LastRasError();
  if (!result.written) result.message = FailureText(record, result);
  return result;
}

}  // namespace handheld
